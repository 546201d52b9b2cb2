#include "importplan.h"

#include "store/databasereader.h"
#include "store/fieldnames.h"
#include "store/storabletext.h"

#include <QHash>
#include <QList>
#include <QLocale>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using Field = RegistrationRecord::Field;

constexpr qsizetype LongestPlainLine = ImportPlan::LongestPlainLine;
constexpr qsizetype LineOverhead = RegistrationRecord::FieldCount + 2;

QString Quoted(char32_t c)
{
    if (!QChar::isPrint(c))
        return u"U+%1"_s.arg(QString::number(c, 16).toUpper().rightJustified(4, u'0'));
    return u"\""_s + QString::fromUcs4(&c, 1) + u"\""_s;
}

bool IsStorable(char32_t c)
{
    return !QChar::requiresSurrogates(c) && StorableText::IsStorable(QChar(char16_t(c)));
}

// Why the text cannot be stored as it is, or nothing.
QString Unstorable(const QString &text)
{
    QStringList refused;
    for (const char32_t c : text.toUcs4()) {
        if (!IsStorable(c) && !refused.contains(Quoted(c)))
            refused.append(Quoted(c));
    }
    if (refused.isEmpty())
        return {};
    const bool separator = refused.contains(Quoted(U'|'));
    refused.removeAll(Quoted(U'|'));
    QStringList reasons;
    if (separator)
        reasons.append(u"holds \"|\", which separates the fields on disk"_s);
    if (!refused.isEmpty())
        reasons.append(u"holds %1, which Windows-1252 cannot store"_s.arg(refused.join(u", "_s)));
    return reasons.join(u"; "_s);
}

} // namespace

QString RecordName(const ImportedRecord &record)
{
    const QString product = record.fields[Field::Product].value_or(QString());
    if (product.isEmpty())
        return record.where;
    return u"%1 (\"%2\")"_s.arg(record.where, product.size() > 40 ? product.first(40) + u"..."_s : product);
}

namespace {

// The fields a file gives, as one text; fields never hold "|".
QByteArray GivenFields(const RegistrationRecord &record, const ImportedRecord &given)
{
    QByteArray key;
    for (int index = 0; index < RegistrationRecord::FieldCount; ++index) {
        if (given.fields[index])
            key.append(record[Field(index)]).append('|');
    }
    return key;
}

// Finds the database's records among those to import, comparing only the
// fields the file gives; one set for each combination of given fields, as a
// JSON object may leave out what another gives.
class DuplicateFinder
{
public:
    explicit DuplicateFinder(const QList<RegistrationRecord> &existing)
        : m_existing(existing)
    {}

    bool Holds(const RegistrationRecord &record, const ImportedRecord &given)
    {
        int mask = 0;
        for (int index = 0; index < RegistrationRecord::FieldCount; ++index)
            mask |= given.fields[index] ? 1 << index : 0;
        auto found = m_keys.find(mask);
        if (found == m_keys.end()) {
            QSet<QByteArray> keys;
            for (const RegistrationRecord &stored : m_existing)
                keys.insert(GivenFields(stored, given));
            found = m_keys.insert(mask, keys);
        }
        return found->contains(GivenFields(record, given));
    }

private:
    const QList<RegistrationRecord> &m_existing;
    QHash<int, QSet<QByteArray>> m_keys;
};

} // namespace

ImportPlan PlanImport(const QList<ImportedRecord> &imported, const QString &recorded,
                      const QList<RegistrationRecord> &existing, Duplicates duplicates)
{
    ImportPlan plan;
    const QLocale locale(QLocale::English);
    DuplicateFinder finder(existing);
    for (const ImportedRecord &record : imported) {
        std::array<QByteArray, RegistrationRecord::FieldCount> fields;
        qsizetype length = LineOverhead;
        for (int index = 0; index < RegistrationRecord::FieldCount; ++index) {
            const auto field = Field(index);
            const QString text = record.fields[field].value_or(field == Field::Recorded ? recorded : QString());
            // Too long whatever it holds: refused below, without a look at
            // each of perhaps millions of characters.
            if (text.size() > LongestPlainLine) {
                length += text.size();
                continue;
            }
            const QString reason = Unstorable(text);
            if (!reason.isEmpty())
                plan.problems.append(u"%1, %2: %3"_s.arg(RecordName(record), FieldNames::Name(field), reason));
            fields[index] = StorableText::ToField(text);
            length += fields[index].size();
        }
        if (length > LongestPlainLine) {
            plan.problems.append(u"%1: %2 characters, more than the %3 a record may hold with its separators"_s.arg(
                RecordName(record), locale.toString(length), locale.toString(LongestPlainLine)));
        }
        std::array<QByteArrayView, RegistrationRecord::FieldCount> views;
        std::copy(fields.begin(), fields.end(), views.begin());
        const RegistrationRecord stored(views);
        if (duplicates == Duplicates::Skip && finder.Holds(stored, record)) {
            plan.skipped.append(RecordName(record));
            continue;
        }
        plan.records.append(stored);
        plan.added.append(RecordName(record));
    }
    if (existing.size() + plan.records.size() > DatabaseLoad::MaxRecords) {
        plan.problems.append(u"the database holds %1 records; %2 more would pass the %3 a database may hold"_s.arg(
            locale.toString(existing.size()), locale.toString(plan.records.size()),
            locale.toString(DatabaseLoad::MaxRecords)));
    }
    if (!plan.problems.isEmpty()) {
        plan.records.clear();
        plan.added.clear();
        plan.skipped.clear();
    }
    return plan;
}
