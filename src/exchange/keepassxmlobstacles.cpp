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
const std::array<bool, 256> &LostInXml()
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
    return Lost;
}

// Whether eight bytes may hold a control character: the controls lie below
// 0x20 and from 0x7F to 0x9F, which with the top bits cleared fall below
// printable ASCII or on DEL; of the rest, only 0xFF does too.
bool MayHoldControl(quint64 word)
{
    return !ByteLanes::ArePrintableAscii(word & ~ByteLanes::TopBits);
}

// The first byte of the text that KeePass XML loses, or its end. Nearly all
// text is passed over eight bytes at a time, accented letters included.
const char *FirstLost(QByteArrayView text)
{
    const std::array<bool, 256> &lost = LostInXml();
    const auto isLost = [&lost](char byte) { return lost[static_cast<unsigned char>(byte)]; };
    const char *at = text.begin();
    for (; text.end() - at >= ByteLanes::Width; at += ByteLanes::Width) {
        const char *const wordEnd = at + ByteLanes::Width;
        if (MayHoldControl(ByteLanes::Load(at))) {
            if (const char *found = std::find_if(at, wordEnd, isLost); found != wordEnd)
                return found;
        }
    }
    // The last bytes, looked at with those before them as a word.
    if (text.size() >= ByteLanes::Width && !MayHoldControl(ByteLanes::Load(text.end() - ByteLanes::Width)))
        return text.end();
    return std::find_if(at, text.end(), isLost);
}

// The control characters of a record that KeePass XML loses, one line each.
void AppendObstacles(int database, qsizetype number, const RegistrationRecord &record, QStringList &obstacles)
{
    // Nearly every record has none: its whole text is looked at in one go,
    // the separators being printable, and only a record with one field by
    // field.
    if (FirstLost(record.Text()) == record.Text().end())
        return;
    for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
        const QByteArrayView text = record[RegistrationRecord::Field(field)];
        const char *const lost = FirstLost(text);
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
