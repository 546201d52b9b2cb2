#include "importplan.h"

#include "store/ansitext.h"
#include "store/databasereader.h"
#include "store/fieldnames.h"
#include "store/largepages.h"
#include "store/recordline.h"
#include "store/storabletext.h"

#include <QLocale>

#include <algorithm>
#include <utility>

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
        return record.Where();
    return u"%1 (\"%2\")"_s.arg(record.Where(), product.size() > 40 ? product.first(40) + u"..."_s : product);
}

namespace {

// The fields a file gives, as one text; fields never hold "|".
template <typename Fields>
QByteArray GivenFields(const Fields &fields, const ImportedRecord &given)
{
    QByteArray key;
    for (int index = 0; index < RegistrationRecord::FieldCount; ++index) {
        if (given.fields[index])
            key.append(fields[Field(index)]).append('|');
    }
    return key;
}

constexpr qsizetype ChunkBytes = 4 * 1024 * 1024;

} // namespace

ImportPlanner::ImportPlanner(const QString &recorded, QList<RegistrationRecord> existing, Duplicates duplicates)
    : m_recorded(recorded)
    , m_existing(std::move(existing))
    , m_duplicates(duplicates)
{
    // Room for all the database may take, so the list never grows by
    // copying; pages never used cost nothing.
    m_plan.records.reserve(std::max<qsizetype>(0, DatabaseLoad::MaxRecords - m_existing.size()));
}

bool ImportPlanner::HeldAlready(const Fields &fields, const ImportedRecord &given)
{
    if (m_duplicates == Duplicates::Keep || m_existing.isEmpty())
        return false;
    int mask = 0;
    for (int index = 0; index < RegistrationRecord::FieldCount; ++index)
        mask |= given.fields[index] ? 1 << index : 0;
    auto found = m_existingKeys.find(mask);
    if (found == m_existingKeys.end()) {
        QSet<QByteArray> keys;
        for (const RegistrationRecord &stored : m_existing)
            keys.insert(GivenFields(stored, given));
        found = m_existingKeys.insert(mask, keys);
    }
    return found->contains(GivenFields(fields, given));
}

void ImportPlanner::Keep(const Fields &fields)
{
    // The fields in buffer order, each followed by its separator, as in a
    // database line.
    qsizetype size = RegistrationRecord::FieldCount;
    for (const QByteArrayView field : fields)
        size += field.size();
    if (!m_chunk || m_chunkUsed + size > m_chunkSize) {
        m_chunkSize = std::max(ChunkBytes, size);
        m_chunk = std::make_shared_for_overwrite<char[]>(std::size_t(m_chunkSize));
        LargePages::Prefer(m_chunk.get(), m_chunkSize);
        m_chunkUsed = 0;
    }
    char *const chunk = m_chunk.get();
    char *out = chunk + m_chunkUsed;
    SeparatorPlaces separators{};
    for (std::size_t place = 0; place < RegistrationRecord::BufferOrder.size(); ++place) {
        const QByteArrayView field = fields[RegistrationRecord::BufferOrder[place]];
        out = std::copy(field.begin(), field.end(), out);
        separators[place] = out - chunk;
        *out++ = FieldSeparator;
    }
    m_plan.records.append(RegistrationRecord(m_chunk, PlacesBetween(m_chunkUsed, separators, separators.size())));
    m_chunkUsed = out - chunk;
}

ImportPlanner::Outcome ImportPlanner::Add(const ImportedRecord &record)
{
    qsizetype length = LineOverhead;
    for (int index = 0; index < RegistrationRecord::FieldCount; ++index) {
        const auto field = Field(index);
        const std::optional<QString> &given = record.fields[field];
        const QStringView text = given ? QStringView(*given) : field == Field::Recorded ? m_recorded : QStringView();
        QByteArray &ansi = m_fields[index];
        // Too long whatever it holds: refused below, without a look at each
        // of perhaps millions of characters.
        if (text.size() > LongestPlainLine) {
            ansi.resize(0);
            length += text.size();
            continue;
        }
        // A character dropped or a separator kept tells that the text is not
        // storable as it is; only then is it looked at closely.
        AnsiText::AssignFromUnicode(ansi, text);
        if (ansi.size() != text.size() || ansi.contains(FieldSeparator)) {
            m_plan.problems.append(
                u"%1, %2: %3"_s.arg(RecordName(record), FieldNames::Name(field), Unstorable(text.toString())));
            ansi = StorableText::ToField(text);
        }
        length += ansi.size();
    }
    if (length > LongestPlainLine) {
        const QLocale locale(QLocale::English);
        m_plan.problems.append(u"%1: %2 characters, more than the %3 a record may hold with its separators"_s.arg(
            RecordName(record), locale.toString(length), locale.toString(LongestPlainLine)));
    }
    Fields fields;
    std::copy(m_fields.begin(), m_fields.end(), fields.begin());
    if (HeldAlready(fields, record)) {
        ++m_plan.skipped;
        return Outcome::Skipped;
    }
    Keep(fields);
    return Outcome::Added;
}

ImportPlan ImportPlanner::Finish()
{
    if (m_existing.size() + m_plan.records.size() > DatabaseLoad::MaxRecords) {
        const QLocale locale(QLocale::English);
        m_plan.problems.append(u"the database holds %1 records; %2 more would pass the %3 a database may hold"_s.arg(
            locale.toString(m_existing.size()), locale.toString(m_plan.records.size()),
            locale.toString(DatabaseLoad::MaxRecords)));
    }
    if (!m_plan.problems.isEmpty()) {
        m_plan.records.clear();
        m_plan.skipped = 0;
    }
    return std::move(m_plan);
}
