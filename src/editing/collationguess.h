#pragma once

#include <QByteArray>
#include <QCollator>

#include <array>

// A cheap guess at how a collator orders Windows-1252 texts: each character
// by the place it takes alone among all 256, texts compared character by
// character. It knows nothing of contractions, of accents weighed after
// letters and the like, so it is only a guess, and is used only to choose
// which texts the collator compares (see CollationRanks).
class CollationGuess
{
public:
    explicit CollationGuess(const QCollator &collator);

    // Adds text's key to keys: keys compared as bytes (memcmp, then length)
    // are in the guessed order. No key byte is zero.
    void AppendKey(QByteArray &keys, QByteArrayView text) const;

private:
    std::array<char, 256> m_weights{};
};
