#include "collationguess.h"

#include "store/ansitext.h"

#include <QStringList>

#include <algorithm>
#include <numeric>

namespace {

// Lower than every letter weight: a key's letters end before its weights
// begin, so a text whose letters are the start of another's comes first.
constexpr char LettersEnd = 1;

// Whether the collator tells the two texts apart by their letters, not only
// by accents or case: then a letter after them cannot turn the order round.
bool DifferInLetters(const QCollator &collator, const QString &left, const QString &right)
{
    const int withA = collator.compare(left + u'a', right + u'b');
    const int withB = collator.compare(left + u'b', right + u'a');
    return (withA < 0) == (withB < 0);
}

// Characters that collators commonly read as two letters.
struct Expansion
{
    char16_t character;
    const char16_t *letters;
};
constexpr Expansion Expansions[] = {
    {u'\u0153', u"oe"}, {u'\u0152', u"OE"}, {u'\u00E6', u"ae"}, {u'\u00C6', u"AE"}, {u'\u00DF', u"ss"},
};

} // namespace

CollationGuess::CollationGuess(const QCollator &collator)
{
    QStringList characters;
    for (int code = 0; code < 256; ++code)
        characters.append(AnsiText::CharacterOf(char(code)));
    std::array<int, 256> codes;
    std::iota(codes.begin(), codes.end(), 0);
    const auto collated = [&](int left, int right) { return collator.compare(characters[left], characters[right]); };
    std::stable_sort(codes.begin(), codes.end(), [&](int left, int right) { return collated(left, right) < 0; });
    // Characters the collator finds equal ("a" and "A") weigh the same, and
    // so do those it finds to be the same letter ("e" and "é").
    int weight = 1;
    int letter = LettersEnd + 1;
    for (std::size_t place = 0; place < codes.size(); ++place) {
        if (place > 0 && collated(codes[place - 1], codes[place]) != 0)
            ++weight;
        if (place > 0 && DifferInLetters(collator, characters[codes[place - 1]], characters[codes[place]]))
            ++letter;
        m_weights[codes[place]] = char(weight);
        m_letters[codes[place]] = {char(letter), 0};
    }
    for (const Expansion &expansion : Expansions) {
        const int code = AnsiText::FromUnicode(QStringView(&expansion.character, 1)).at(0) & 0xFF;
        const QString letters = QString::fromUtf16(expansion.letters);
        if (!DifferInLetters(collator, characters[code], letters)) {
            const auto first = static_cast<unsigned char>(AnsiText::FromUnicode(letters.first(1)).at(0));
            const auto second = static_cast<unsigned char>(AnsiText::FromUnicode(letters.sliced(1)).at(0));
            m_letters[code] = {m_letters[first][0], m_letters[second][0]};
        }
    }
}

quint64 CollationGuess::KeyChunk(QByteArrayView text, qsizetype offset) const
{
    const auto *const bytes = reinterpret_cast<const unsigned char *>(text.data());
    const qsizetype size = text.size();
    const qsizetype reach = std::min(size, offset + 8);
    if (std::none_of(bytes, bytes + reach, [this](unsigned char c) { return m_letters[c][1] != 0; })) {
        // Without a character read as two letters, the key's byte p is the
        // letter of the text's byte p, then the end of the letters, then
        // the weights: found at once, not by walking the key from its start.
        quint64 chunk = 0;
        for (qsizetype place = offset; place < offset + 8; ++place) {
            const char byte = place < size              ? m_letters[bytes[place]][0]
                              : place == size           ? LettersEnd
                              : place - size - 1 < size ? m_weights[bytes[place - size - 1]]
                                                        : char(0);
            chunk = chunk << 8 | static_cast<unsigned char>(byte);
        }
        return chunk;
    }
    quint64 chunk = 0;
    int taken = 0;
    qsizetype position = 0;
    // True once the chunk is full.
    const auto put = [&](char byte) {
        if (position++ >= offset) {
            chunk = chunk << 8 | static_cast<unsigned char>(byte);
            ++taken;
        }
        return taken == 8;
    };
    for (const char c : text) {
        const std::array<char, 2> &letters = m_letters[static_cast<unsigned char>(c)];
        if (put(letters[0]) || (letters[1] != 0 && put(letters[1])))
            return chunk;
    }
    if (put(LettersEnd))
        return chunk;
    for (const char c : text) {
        if (put(m_weights[static_cast<unsigned char>(c)]))
            return chunk;
    }
    return taken == 0 ? 0 : chunk << (8 * (8 - taken));
}
