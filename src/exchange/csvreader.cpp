#include "csvreader.h"

#include "importplan.h"
#include "quantity.h"
#include "recordcolumns.h"
#include "store/databasereader.h"

#include <QStringDecoder>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

struct CsvRow
{
    qsizetype line = 0;
    QStringList fields;
};

// Splits the text into rows of fields by RFC 4180. Rows that are empty lines
// are dropped. Stops at the first error, which is then not empty.
class CsvParser
{
public:
    explicit CsvParser(QStringView text)
        : m_text(text)
    {}

    QList<CsvRow> Rows()
    {
        QList<CsvRow> rows;
        while (m_position < m_text.size() && m_error.isEmpty()) {
            CsvRow row = Row();
            if (row.fields.size() != 1 || !row.fields.front().isEmpty() || m_rowWasQuoted)
                rows.append(std::move(row));
            // The header and a database's worth of records: no more is read.
            if (rows.size() > DatabaseLoad::MaxRecords + 1)
                m_error = u"line %1: more than the %2 records a database holds"_s.arg(rows.back().line)
                              .arg(QLocale(QLocale::English).toString(DatabaseLoad::MaxRecords));
        }
        return rows;
    }

    QString Error() const { return m_error; }

private:
    bool At(QChar c) const { return m_position < m_text.size() && m_text[m_position] == c; }
    bool AtFieldEnd() const { return m_position == m_text.size() || At(u',') || At(u'\r') || At(u'\n'); }

    CsvRow Row()
    {
        CsvRow row{m_line, {}};
        m_rowWasQuoted = false;
        for (;;) {
            row.fields.append(At(u'"') ? QuotedField() : PlainField());
            if (!m_error.isEmpty() || !At(u','))
                break;
            ++m_position;
        }
        // CR LF, a bare LF or a bare CR end the row.
        if (At(u'\r'))
            ++m_position;
        if (At(u'\n'))
            ++m_position;
        ++m_line;
        return row;
    }

    QString PlainField()
    {
        const qsizetype start = m_position;
        while (!AtFieldEnd()) {
            if (At(u'"')) {
                m_error = u"line %1: a quote inside a field that does not start with one"_s.arg(m_line);
                break;
            }
            ++m_position;
        }
        if (m_position - start > ImportPlan::LongestPlainLine)
            return TooLong(m_line);
        return m_text.sliced(start, m_position - start).toString();
    }

    // A field longer than any record is refused where it starts, before it
    // costs a copy of perhaps the whole file.
    QString TooLong(qsizetype line)
    {
        m_error = u"line %1: a field longer than the %2 characters a record holds"_s.arg(line).arg(
            QLocale(QLocale::English).toString(ImportPlan::LongestPlainLine));
        return {};
    }

    QString QuotedField()
    {
        m_rowWasQuoted = true;
        const qsizetype startLine = m_line;
        QString field;
        ++m_position;
        for (;;) {
            if (m_position == m_text.size()) {
                m_error = u"line %1: a quoted field is never closed"_s.arg(startLine);
                return field;
            }
            if (field.size() > ImportPlan::LongestPlainLine)
                return TooLong(startLine);
            const QChar c = m_text[m_position++];
            if (c == u'"') {
                if (!At(u'"'))
                    break;
                ++m_position;
            } else if (c == u'\n') {
                ++m_line;
            }
            field += c;
        }
        if (!AtFieldEnd())
            m_error = u"line %1: text after the closing quote of a field"_s.arg(m_line);
        return field;
    }

    QStringView m_text;
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
bool LooksSeparatedBySemicolons(QStringView text)
{
    const QStringView firstLine = text.first(text.contains(u'\n') ? text.indexOf(u'\n') : text.size());
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

ImportedFile ReadCsv(QByteArrayView utf8)
{
    ImportedFile file;
    // The decoder drops a leading byte order mark by itself.
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(utf8);
    if (decoder.hasError()) {
        file.errors.append(u"line %1: the file is not UTF-8 text; if it is Windows-1252, convert it with "
                           "iconv -f WINDOWS-1252 -t UTF-8"_s.arg(FirstLineNotUtf8(utf8)));
        return file;
    }
    if (LooksSeparatedBySemicolons(text)) {
        file.errors.append(u"line 1: no column of a record between commas; are the fields separated by semicolons? "
                           "Save the file with commas between fields"_s);
        return file;
    }
    CsvParser parser(text);
    const QList<CsvRow> rows = parser.Rows();
    if (!parser.Error().isEmpty()) {
        file.errors.append(parser.Error());
        return file;
    }
    if (rows.isEmpty()) {
        file.errors.append(u"the file is empty: it has no header line"_s);
        return file;
    }

    const QStringList &header = rows.front().fields;
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

    file.records.reserve(rows.size() - 1);
    for (const CsvRow &row : rows.sliced(1)) {
        if (row.fields.size() != header.size()) {
            file.errors.append(u"line %1: %2 where the header has %3"_s.arg(row.line)
                                   .arg(Quantity(row.fields.size(), u"field"_s, u"fields"_s))
                                   .arg(header.size()));
            continue;
        }
        ImportedRecord record;
        record.where = u"line %1"_s.arg(row.line);
        for (qsizetype index = 0; index < row.fields.size(); ++index) {
            if (!columns[index])
                continue;
            if (columns[index]->isDatabase)
                record.database = row.fields[index];
            else
                record.fields[columns[index]->field] = row.fields[index];
        }
        file.records.append(std::move(record));
    }
    return file;
}
