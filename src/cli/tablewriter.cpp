#include "tablewriter.h"

#include "exchange/recordcolumns.h"
#include "exchange/utf8text.h"
#include "store/databasefiles.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

using Texts = std::array<QByteArrayView, RecordColumns::Count>;

constexpr qsizetype ColumnGap = 2;

// A row's texts in Windows-1252, where every byte is one character wide: the
// database's name, then the record's fields.
Texts RowTexts(QByteArrayView databaseName, const RegistrationRecord &record)
{
    Texts texts{databaseName};
    for (int field = 0; field < RegistrationRecord::FieldCount; ++field)
        texts[field + 1] = record[RegistrationRecord::Field(field)];
    return texts;
}

QByteArray AnsiDatabaseName(int number)
{
    return DatabaseFiles::DisplayName(number).toLatin1();
}

} // namespace

void TableWriter::BeginDatabase(int database, QByteArray &)
{
    m_databases.append(DatabaseRecords{database, {}});
}

void TableWriter::Add(const RegistrationRecord &record, QByteArray &)
{
    m_databases.last().records.append(record);
}

bool TableWriter::TakeDatabase(DatabaseRecords &database)
{
    m_databases.append(std::move(database));
    return true;
}

void TableWriter::End(QByteArray &table, const TextSink &flush)
{
    const QList<DatabaseRecords> &databases = m_databases;
    using Widths = std::array<qsizetype, RecordColumns::Count>;
    Widths widths{};
    for (const DatabaseRecords &database : databases) {
        if (!database.records.isEmpty())
            widths[0] = std::max(widths[0], AnsiDatabaseName(database.database).size());
        for (const RegistrationRecord &record : database.records) {
            for (int field = 0; field < RegistrationRecord::FieldCount; ++field)
                widths[field + 1] = std::max(widths[field + 1], record[RegistrationRecord::Field(field)].size());
        }
    }
    // No record, no table.
    if (widths[0] == 0)
        return;
    QByteArrayList names;
    QByteArrayList dashes;
    for (const QString &name : RecordColumns::Names()) {
        qsizetype &width = widths[names.size()];
        width = std::max(width, name.size());
        names.append(name.toLatin1());
        dashes.append(QByteArray(width, '-'));
    }
    Texts header;
    Texts rules;
    std::copy(names.begin(), names.end(), header.begin());
    std::copy(dashes.begin(), dashes.end(), rules.begin());

    qsizetype lineWidth = 1;
    for (const qsizetype width : widths)
        lineWidth += width + ColumnGap;
    // A line's text takes its width in the table and, in UTF-8, up to two
    // more bytes a character. Padding after the last text of a line would
    // only be trailing blanks.
    const auto appendLine = [&](const Texts &texts) {
        qsizetype length = 0;
        for (const QByteArrayView text : texts)
            length += text.size();
        Utf8Text::AppendWritten(table, lineWidth + (Utf8Text::MaxBytesPerCharacter - 1) * length, [&](char *out) {
            char *textEnd = out;
            for (int column = 0; column < RecordColumns::Count; ++column) {
                out = Utf8Text::WriteVisible(out, texts[column]);
                if (!texts[column].isEmpty())
                    textEnd = out;
                const qsizetype padding = widths[column] - texts[column].size() + ColumnGap;
                std::fill_n(out, padding, ' ');
                out += padding;
            }
            *textEnd = '\n';
            return textEnd + 1;
        });
    };
    appendLine(header);
    appendLine(rules);
    for (const DatabaseRecords &database : databases) {
        const QByteArray name = AnsiDatabaseName(database.database);
        for (const RegistrationRecord &record : database.records) {
            appendLine(RowTexts(name, record));
            if (table.size() >= PieceBytes) {
                flush(table);
                table.resize(0);
            }
        }
    }
}
