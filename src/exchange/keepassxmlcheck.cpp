#include "keepassxmlcheck.h"

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

} // namespace

void KeePassXmlCheck::BeginDatabase(int database, QByteArray &)
{
    m_database = database;
    m_recordNumber = 0;
}

void KeePassXmlCheck::Add(const RegistrationRecord &record, QByteArray &)
{
    ++m_recordNumber;
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
        m_obstacles.append(u"%1, record %2 (\"%3\"), %4: the control character U+%5, which KeePass XML loses"_s
                               .arg(DatabaseFiles::DisplayName(m_database))
                               .arg(m_recordNumber)
                               .arg(Utf8Text::Visible(record[RegistrationRecord::Product]), FieldNames::Names[field],
                                    QString::number(character.unicode(), 16).toUpper().rightJustified(4, u'0')));
    }
}
