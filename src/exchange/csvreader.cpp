#include "csvreader.h"

#include "importplan.h"
#include "quantity.h"
#include "recordcolumns.h"
#include "store/databasereader.h"
#include "utf8input.h"

#include <QStringDecoder>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

struct CsvRow
{
    qsizetype line = 0;
    QStringList fields;
};

// Splits UTF-8 text into rows of fields by RFC 4180, a row at a time, so no
// list of every row's fields is ever held. Stops at the first error, which
// is then not empty.
class CsvParser
{
public:
    explicit CsvParser(QByteArrayView utf8)
        : m_text(utf8)
    {}

    // The next row that is not an empty line, or none at the end or at an
    // error.
    std::optional<CsvRow> NextRow()
    {
        while (m_position < m_text.size() && m_error.isEmpty()) {
            CsvRow row = Row();
            if (row.fields.size() != 1 || !row.fields.front().isEmpty() || m_rowWasQuoted)
                return m_error.isEmpty() ? std::optional(std::move(row)) : std::nullopt;
        }
        return std::nullopt;
    }

    QString Error() const { return m_error; }
    void Fail(const QString &error) { m_error = error; }

private:
    bool At(char c) const { return m_position < m_text.size() && m_text[m_position] == c; }
    bool AtFieldEnd() const { return m_position == m_text.size() || At(',') || At('\r') || At('\n'); }

    CsvRow Row()
    {
        CsvRow row{m_line, {}};
        m_rowWasQuoted = false;
        for (;;) {
            row.fields.append(At('"') ? QuotedField() : PlainField());
            if (!m_error.isEmpty() || !At(','))
                break;
            ++m_position;
        }
        // CR LF, a bare LF or a bare CR end the row.
        if (At('\r'))
            ++m_position;
        if (At('\n'))
            ++m_position;
        ++m_line;
        return row;
    }

    QString PlainField()
    {
        const qsizetype start = m_position;
        while (!AtFieldEnd()) {
            if (At('"')) {
                m_error = u"line %1: a quote inside a field that does not start with one"_s.arg(m_line);
                break;
            }
            ++m_position;
        }
        return Checked(m_text.sliced(start, m_position - start), m_line);
    }

    QString QuotedField()
    {
        m_rowWasQuoted = true;
        const qsizetype startLine = m_line;
        QByteArray field;
        ++m_position;
        for (;;) {
            const qsizetype quote = m_text.indexOf('"', m_position);
            if (quote < 0) {
                m_error = u"line %1: a quoted field is never closed"_s.arg(startLine);
                return {};
            }
            const QByteArrayView run = m_text.sliced(m_position, quote - m_position);
            m_line += run.count('\n');
            field += run;
            m_position = quote + 1;
            if (!At('"'))
                break;
            field += '"';
            ++m_position;
            // No UTF-16 character takes more than three bytes: a field this
            // long is refused before it costs a copy of perhaps the whole
            // file.
            if (field.size() > 3 * ImportPlan::LongestPlainLine)
                return TooLong(startLine);
        }
        if (!AtFieldEnd())
            m_error = u"line %1: text after the closing quote of a field"_s.arg(m_line);
        return Checked(field, startLine);
    }

    QString Checked(QByteArrayView utf8, qsizetype line)
    {
        QString text = QString::fromUtf8(utf8);
        return text.size() > ImportPlan::LongestPlainLine ? TooLong(line) : text;
    }

    QString TooLong(qsizetype line)
    {
        m_error = u"line %1: a field longer than the %2 characters a record holds"_s.arg(line).arg(
            QLocale(QLocale::English).toString(ImportPlan::LongestPlainLine));
        return {};
    }

    QByteArrayView m_text;
    qsizetype m_position = 0;
    qsizetype m_line = 1;
    bool m_rowWasQuoted = false;
    QString m_error;
};

// The line of the first byte that is not UTF-8.
qsizetype FirstLineNotUtf8(QByteArrayView utf8)
{
    // No byte of a UTF-8 sequence is a line feed, so lines decode alone.
    for (qsizetype start = 0, line = 1;; ++line) {
        const qsizetype end = utf8.indexOf('\n', start);
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder(utf8.sliced(start, (end < 0 ? utf8.size() : end) - start));
        if (decoder.hasError() || end < 0)
            return line;
        start = end + 1;
    }
}

// Many spreadsheets save "CSV" with semicolons where the language writes
// decimal commas: a first line that names columns only between semicolons.
bool LooksSeparatedBySemicolons(QByteArrayView utf8)
{
    const QString firstLine = QString::fromUtf8(utf8.first(utf8.contains('\n') ? utf8.indexOf('\n') : utf8.size()));
    const auto namesAColumn = [firstLine](QChar separator) {
        for (QStringView name : firstLine.tokenize(separator)) {
            name = name.trimmed();
            if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"'))
                name = name.sliced(1, name.size() - 2);
            if (RecordColumns::ColumnNamed(name))
                return true;
        }
        return false;
    };
    return namesAColumn(u';') && !namesAColumn(u',');
}

} // namespace

ImportedFile ReadCsv(QByteArrayView utf8, const RecordTaker &take)
{
    ImportedFile file;
    if (!Utf8Input::IsValid(utf8)) {
        file.errors.append(u"line %1: the file is not UTF-8 text; if it is Windows-1252, convert it with "
                           "iconv -f WINDOWS-1252 -t UTF-8"_s.arg(FirstLineNotUtf8(utf8)));
        return file;
    }
    const QByteArrayView text = Utf8Input::WithoutByteOrderMark(utf8);
    if (LooksSeparatedBySemicolons(text)) {
        file.errors.append(u"line 1: no column of a record between commas; are the fields separated by semicolons? "
                           "Save the file with commas between fields"_s);
        return file;
    }
    CsvParser parser(text);
    const std::optional<CsvRow> headerRow = parser.NextRow();
    if (!parser.Error().isEmpty()) {
        file.errors.append(parser.Error());
        return file;
    }
    if (!headerRow) {
        file.errors.append(u"the file is empty: it has no header line"_s);
        return file;
    }

    const QStringList &header = headerRow->fields;
    QList<std::optional<RecordColumns::Column>> columns;
    bool namesAField = false;
    std::array<bool, RegistrationRecord::FieldCount> named{};
    for (const QString &name : header) {
        const std::optional<RecordColumns::Column> column = RecordColumns::ColumnNamed(name);
        columns.append(column);
        if (!column)
            file.leftOut.append(u"the column \"%1\" has no place in a record"_s.arg(name));
        else if (!column->isDatabase && std::exchange(named[column->field], true))
            file.errors.append(u"the header names the column \"%1\" twice"_s.arg(name));
        namesAField = namesAField || (column && !column->isDatabase);
    }
    if (!namesAField)
        file.errors.append(
            u"the first line names no column of a record: %1"_s.arg(RecordColumns::Names().join(u", "_s)));

    // Each record is at least a line: never more than a database's worth.
    if (!take)
        file.records.reserve(std::min<qsizetype>(text.count('\n') + 1, DatabaseLoad::MaxRecords + 1));
    qsizetype rows = 0;
    while (const std::optional<CsvRow> read = parser.NextRow()) {
        const CsvRow &row = *read;
        if (++rows > DatabaseLoad::MaxRecords) {
            parser.Fail(u"line %1: more than the %2 records a database holds"_s.arg(row.line).arg(
                QLocale(QLocale::English).toString(DatabaseLoad::MaxRecords)));
            break;
        }
        if (row.fields.size() != header.size()) {
            file.errors.append(u"line %1: %2 where the header has %3"_s.arg(row.line)
                                   .arg(Quantity(row.fields.size(), u"field"_s, u"fields"_s))
                                   .arg(header.size()));
            continue;
        }
        ImportedRecord record;
        record.unit = "line"_L1;
        record.place = row.line;
        for (qsizetype index = 0; index < row.fields.size(); ++index) {
            if (!columns[index])
                continue;
            if (columns[index]->isDatabase)
                record.database = row.fields[index];
            else
                record.fields[columns[index]->field] = row.fields[index];
        }
        file.Add(std::move(record), take);
    }
    if (!parser.Error().isEmpty()) {
        file.records.clear();
        file.errors = QStringList{parser.Error()};
    }
    return file;
}
