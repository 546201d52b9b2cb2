#pragma once

#include <QByteArrayView>
#include <QCollator>

#include <array>

// A cheap guess at how a collator orders Windows-1252 texts, as collators do
// it for Latin text: first by the letters alone, accents and letter case
// aside ("Élan" between "Echoline" and "Ember"), and only between texts of
// the same letters by each character's own place among all 256. It knows
// nothing of contractions and the like, so it is only a guess, and is used
// only to choose which texts the collator compares (see CollationRanks).
class CollationGuess
{
public:
    explicit CollationGuess(const QCollator &collator);

    // Eight bytes of text's key from the given offset on, big-endian, zero
    // after the key's end: keys compared as bytes (memcmp, then length) are
    // in the guessed order, and no key byte is zero. Made when asked, as a
    // sort needs few bytes of most keys; keeping every key would cost a
    // large column's sort megabytes.
    quint64 KeyChunk(QByteArrayView text, qsizetype offset) const;

private:
    // Each character's letter weight: one byte, or two for a character the
    // collator reads as two letters ("œ" as "oe"), the second zero otherwise.
    std::array<std::array<char, 2>, 256> m_letters{};
    std::array<char, 256> m_weights{};
};
