#include "collationguess.h"

#include "store/ansitext.h"

#include <QStringList>

#include <algorithm>
#include <numeric>

CollationGuess::CollationGuess(const QCollator &collator)
{
    QStringList characters;
    for (int code = 0; code < 256; ++code)
        characters.append(AnsiText::CharacterOf(char(code)));
    std::array<int, 256> codes;
    std::iota(codes.begin(), codes.end(), 0);
    const auto collated = [&](int left, int right) { return collator.compare(characters[left], characters[right]); };
    std::stable_sort(codes.begin(), codes.end(), [&](int left, int right) { return collated(left, right) < 0; });
    // Characters the collator finds equal ("a" and "A") weigh the same.
    int weight = 1;
    for (std::size_t place = 0; place < codes.size(); ++place) {
        if (place > 0 && collated(codes[place - 1], codes[place]) != 0)
            ++weight;
        m_weights[codes[place]] = char(weight);
    }
}

void CollationGuess::AppendKey(QByteArray &keys, QByteArrayView text) const
{
    const qsizetype start = keys.size();
    keys.resize(start + text.size());
    std::transform(text.begin(), text.end(), keys.begin() + start,
                   [this](char c) { return m_weights[static_cast<unsigned char>(c)]; });
}
