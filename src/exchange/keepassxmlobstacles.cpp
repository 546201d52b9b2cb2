#include "keepassxmlobstacles.h"

#include "store/ansitext.h"
#include "store/bytelanes.h"
#include "store/databasefiles.h"
#include "store/fieldnames.h"
#include "utf8text.h"

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

// XML 1.0 has no way to write the C0 controls but tab, line feed and
// carriage return, not even as character references; DEL and the C1 controls
// it only discourages, but KeePassXC strips them on import.
bool IsLostInXml(char c)
{
    static const std::array<bool, 256> Lost = [] {
        std::array<bool, 256> lost{};
        for (int code = 0; code < 256; ++code) {
            const char byte = char(code);
            lost[code] = AnsiText::CharacterOf(byte).category() == QChar::Other_Control && byte != '\t' && byte != '\n'
                         && byte != '\r';
        }
        return lost;
    }();
    return Lost[static_cast<unsigned char>(c)];
}

// The control characters of a record that KeePass XML loses, one line each.
void AppendObstacles(int database, qsizetype number, const RegistrationRecord &record, QStringList &obstacles)
{
    for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
        const QByteArrayView text = record[RegistrationRecord::Field(field)];
        // Printable ASCII, nearly all text, is passed over eight bytes at a time.
        const char *start = text.begin();
        while (text.end() - start >= ByteLanes::Width && ByteLanes::ArePrintableAscii(ByteLanes::Load(start)))
            start += ByteLanes::Width;
        const auto lost = std::find_if(start, text.end(), IsLostInXml);
        if (lost == text.end())
            continue;
        const QChar character = AnsiText::ToUnicode(text.sliced(lost - text.begin(), 1)).front();
        obstacles.append(u"%1, record %2 (\"%3\"), %4: the control character U+%5, which KeePass XML loses"_s
                             .arg(DatabaseFiles::DisplayName(database))
                             .arg(number)
                             .arg(Utf8Text::Visible(record[RegistrationRecord::Product]), FieldNames::Names[field],
                                  QString::number(character.unicode(), 16).toUpper().rightJustified(4, u'0')));
    }
}

} // namespace

QStringList KeePassXmlObstacles(const QList<DatabaseRecords> &databases)
{
    QStringList obstacles;
    for (const DatabaseRecords &database : databases) {
        for (qsizetype index = 0; index < database.records.size(); ++index)
            AppendObstacles(database.database, index + 1, database.records[index], obstacles);
    }
    return obstacles;
}
