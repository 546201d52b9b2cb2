#include "textoutput.h"

#include "recordcolumns.h"
#include "store/databasefiles.h"
#include "utf8text.h"

#include <algorithm>
#include <array>

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

QByteArray FormatTable(const QList<DatabaseRecords> &databases)
{
    if (RecordCount(databases) == 0)
        return {};
    const QStringList names = RecordColumns::Names();
    std::array<qsizetype, RecordColumns::Count> widths{};
    QList<QByteArray> header;
    QList<QByteArray> rules;
    for (const QString &name : names) {
        widths[header.size()] = name.size();
        header.append(name.toLatin1());
    }
    for (const DatabaseRecords &database : databases) {
        if (!database.records.isEmpty())
            widths[0] = std::max(widths[0], AnsiDatabaseName(database.database).size());
        for (const RegistrationRecord &record : database.records) {
            for (int field = 0; field < RegistrationRecord::FieldCount; ++field)
                widths[field + 1] = std::max(widths[field + 1], record[RegistrationRecord::Field(field)].size());
        }
    }
    for (const qsizetype width : widths)
        rules.append(QByteArray(width, '-'));

    QByteArray out;
    qsizetype lineWidth = 1;
    for (const qsizetype width : widths)
        lineWidth += width + ColumnGap;
    // Nearly all text is ASCII, one byte a character.
    out.reserve(lineWidth * (RecordCount(databases) + 2));
    // Padding after the last text of a line would only be trailing blanks.
    const auto appendLine = [&](const Texts &texts) {
        qsizetype textEnd = out.size();
        for (int column = 0; column < RecordColumns::Count; ++column) {
            Utf8Text::AppendVisible(out, texts[column]);
            if (!texts[column].isEmpty())
                textEnd = out.size();
            out.append(widths[column] - texts[column].size() + ColumnGap, ' ');
        }
        out.truncate(textEnd);
        out += '\n';
    };
    Texts headerTexts;
    Texts ruleTexts;
    std::copy(header.begin(), header.end(), headerTexts.begin());
    std::copy(rules.begin(), rules.end(), ruleTexts.begin());
    appendLine(headerTexts);
    appendLine(ruleTexts);
    for (const DatabaseRecords &database : databases) {
        const QByteArray name = AnsiDatabaseName(database.database);
        for (const RegistrationRecord &record : database.records)
            appendLine(RowTexts(name, record));
    }
    return out;
}

QByteArray FormatFieldLines(const QList<DatabaseRecords> &databases)
{
    const QStringList names = RecordColumns::Names();
    qsizetype nameWidth = 0;
    for (const QString &name : names)
        nameWidth = std::max(nameWidth, name.size() + 1);
    QByteArray out;
    for (const DatabaseRecords &database : databases) {
        const QByteArray name = AnsiDatabaseName(database.database);
        for (const RegistrationRecord &record : database.records) {
            if (!out.isEmpty())
                out += '\n';
            const Texts texts = RowTexts(name, record);
            for (int column = 0; column < RecordColumns::Count; ++column) {
                out += (names[column] + u':').leftJustified(nameWidth + 1).toLatin1();
                Utf8Text::AppendVisible(out, texts[column]);
                out += '\n';
            }
        }
    }
    return out;
}
