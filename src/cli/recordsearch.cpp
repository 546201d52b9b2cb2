#include "recordsearch.h"

#include "store/ansitext.h"

#include <QList>

#include <algorithm>

namespace {

char32_t Folded(char32_t c)
{
    return QChar::toCaseFolded(c);
}

} // namespace

RecordSearch::RecordSearch(QStringView text)
{
    // Every byte folds to the lowest byte of the same case-folded character,
    // so bytes that differ only in letter case fold alike.
    std::array<char32_t, 256> foldedUnicode{};
    for (int code = 0; code < 256; ++code) {
        foldedUnicode[code] = Folded(AnsiText::CharacterOf(char(code)).unicode());
        m_fold[code] = static_cast<unsigned char>(code);
        for (int lower = 0; lower < code; ++lower) {
            if (foldedUnicode[lower] == foldedUnicode[code]) {
                m_fold[code] = static_cast<unsigned char>(lower);
                break;
            }
        }
    }
    for (const char32_t c : text.toUcs4()) {
        const auto byte = std::find(foldedUnicode.begin(), foldedUnicode.end(), Folded(c));
        if (byte == foldedUnicode.end()) {
            m_impossible = true;
            return;
        }
        m_foldedText.append(char(m_fold[byte - foldedUnicode.begin()]));
    }
}

bool RecordSearch::Matches(const RegistrationRecord &record) const
{
    if (m_impossible)
        return false;
    if (m_foldedText.isEmpty())
        return true;
    const auto sameFolded = [this](char text, char folded) {
        return char(m_fold[static_cast<unsigned char>(text)]) == folded;
    };
    for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
        const QByteArrayView text = record[RegistrationRecord::Field(field)];
        if (std::search(text.begin(), text.end(), m_foldedText.begin(), m_foldedText.end(), sameFolded) != text.end())
            return true;
    }
    return false;
}
