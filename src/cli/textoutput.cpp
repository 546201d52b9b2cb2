#include "textoutput.h"

#include "parallelmap.h"
#include "rawbuffer.h"
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

QByteArrayList FormatTable(const QList<DatabaseWalk> &databases)
{
    // A first walk finds the columns' widths; the table is written by a
    // second one. Decoding twice costs less than holding every record.
    using Widths = std::array<qsizetype, RecordColumns::Count>;
    Widths widths{};
    for (const Widths &databaseWidths : ParallelMap(databases, [](const DatabaseWalk &database) {
             Widths widths{};
             const qsizetype nameWidth = AnsiDatabaseName(database.database).size();
             database.walk([&widths, nameWidth](const RegistrationRecord &record) {
                 widths[0] = nameWidth;
                 for (int field = 0; field < RegistrationRecord::FieldCount; ++field)
                     widths[field + 1] = std::max(widths[field + 1], record[RegistrationRecord::Field(field)].size());
             });
             return widths;
         })) {
        std::transform(widths.begin(), widths.end(), databaseWidths.begin(), widths.begin(),
                       [](qsizetype a, qsizetype b) { return std::max(a, b); });
    }
    // No record, no table.
    if (widths[0] == 0)
        return {};
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
    // Padding after the last text of a line would only be trailing blanks.
    const auto writeLine = [&widths](char *out, const Texts &texts) {
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
    };
    // A line's text takes its width in the table and, in UTF-8, up to two
    // more bytes a character.
    const auto room = [lineWidth](const Texts &texts) {
        qsizetype length = 0;
        for (const QByteArrayView text : texts)
            length += text.size();
        return lineWidth + (Utf8Text::MaxBytesPerCharacter - 1) * length;
    };
    RawBuffer top;
    for (const Texts &texts : {header, rules})
        top.Commit(writeLine(top.Room(room(texts)), texts));
    return QByteArrayList{top.Take()} + ParallelMap(databases, [&](const DatabaseWalk &database) {
               const QByteArray name = AnsiDatabaseName(database.database);
               RawBuffer rows;
               database.walk([&](const RegistrationRecord &record) {
                   const Texts texts = RowTexts(name, record);
                   rows.Commit(writeLine(rows.Room(room(texts)), texts));
               });
               return rows.Take();
           });
}

QByteArrayList FormatFieldLines(const QList<DatabaseWalk> &databases)
{
    const QStringList names = RecordColumns::Names();
    qsizetype nameWidth = 0;
    for (const QString &name : names)
        nameWidth = std::max(nameWidth, name.size() + 1);
    QByteArray out;
    for (const DatabaseWalk &database : databases) {
        const QByteArray name = AnsiDatabaseName(database.database);
        database.walk([&](const RegistrationRecord &record) {
            if (!out.isEmpty())
                out += '\n';
            const Texts texts = RowTexts(name, record);
            for (int column = 0; column < RecordColumns::Count; ++column) {
                out += (names[column] + u':').leftJustified(nameWidth + 1).toLatin1();
                Utf8Text::AppendVisible(out, texts[column]);
                out += '\n';
            }
        });
    }
    return {out};
}
