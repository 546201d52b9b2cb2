#include "importplan.h"

#include "store/databasereader.h"
#include "store/fieldnames.h"
#include "store/storabletext.h"

#include <QList>
#include <QLocale>

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

QString NameOf(const ImportedRecord &record)
{
    const QString product = record.fields[Field::Product].value_or(QString());
    if (product.isEmpty())
        return record.where;
    return u"%1 (\"%2\")"_s.arg(record.where, product.size() > 40 ? product.first(40) + u"..."_s : product);
}

} // namespace

ImportPlan PlanImport(const QList<ImportedRecord> &imported, const QString &recorded, qsizetype existing)
{
    ImportPlan plan;
    const QLocale locale(QLocale::English);
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
                plan.problems.append(u"%1, %2: %3"_s.arg(NameOf(record), FieldNames::Name(field), reason));
            fields[index] = StorableText::ToField(text);
            length += fields[index].size();
        }
        if (length > LongestPlainLine) {
            plan.problems.append(u"%1: %2 characters, more than the %3 a record may hold with its separators"_s.arg(
                NameOf(record), locale.toString(length), locale.toString(LongestPlainLine)));
        }
        std::array<QByteArrayView, RegistrationRecord::FieldCount> views;
        std::copy(fields.begin(), fields.end(), views.begin());
        plan.records.append(RegistrationRecord(views));
    }
    if (existing + plan.records.size() > DatabaseLoad::MaxRecords) {
        plan.problems.append(u"the database holds %1 records; %2 more would pass the %3 a database may hold"_s.arg(
            locale.toString(existing), locale.toString(plan.records.size()),
            locale.toString(DatabaseLoad::MaxRecords)));
    }
    if (!plan.problems.isEmpty())
        plan.records.clear();
    return plan;
}
