#include "collationranks.h"

#include "collationguess.h"
#include "naturalmergesort.h"
#include "store/ansitext.h"

#include <QString>

#include <algorithm>
#include <utility>

namespace {

// Texts side by side in one string. The sort reads them in random order,
// and texts that lie together are found in the cache where texts spread
// over the heap are not.
class PackedTexts
{
public:
    explicit PackedTexts(qsizetype count, qsizetype length)
    {
        m_all.reserve(length);
        m_starts.reserve(count + 1);
        m_starts.push_back(0);
    }
    // Whatever was added to All() since the last call is the next text.
    QString &All() { return m_all; }
    void EndText() { m_starts.push_back(m_all.size()); }

    QStringView operator[](int text) const
    {
        return QStringView(m_all).sliced(m_starts[text], m_starts[text + 1] - m_starts[text]);
    }

private:
    QString m_all;
    std::vector<qsizetype> m_starts;
};

// The texts in the order of their keys. Keys are sorted eight bytes at a
// time, as numbers: first by their first eight bytes, then each run of keys
// that share those by the next eight, and so on. A column of few distinct
// texts or of long common beginnings costs little more than one of short
// ones.
std::vector<int> KeyOrder(const std::vector<QByteArrayView> &texts, const CollationGuess &guess)
{
    using Chunk = quint64;
    constexpr qsizetype ChunkBytes = sizeof(Chunk);
    const int count = int(texts.size());
    const auto chunkOf = [&](int text, qsizetype offset) { return guess.KeyChunk(texts[text], offset); };

    using Entry = std::pair<Chunk, int>;
    using Range = std::vector<Entry>::iterator;
    std::vector<Entry> entries(count);
    for (int text = 0; text < count; ++text)
        entries[text].second = text;
    // Runs still to sort, each with the offset from which its keys may differ.
    struct Run
    {
        Range first;
        Range last;
        qsizetype offset;
    };
    std::vector<Run> runs{{entries.begin(), entries.end(), 0}};
    while (!runs.empty()) {
        const Run run = runs.back();
        runs.pop_back();
        for (Range entry = run.first; entry != run.last; ++entry)
            entry->first = chunkOf(entry->second, run.offset);
        std::sort(run.first, run.last, [](const Entry &left, const Entry &right) { return left.first < right.first; });
        for (Range same = run.first; same != run.last;) {
            const Range end =
                std::find_if(same, run.last, [&](const Entry &entry) { return entry.first != same->first; });
            // No key byte is zero, so a chunk that ends in one ends its keys.
            if (end - same > 1 && (same->first & 0xFF) != 0)
                runs.push_back({same, end, run.offset + ChunkBytes});
            same = end;
        }
    }
    std::vector<int> order(entries.size());
    std::transform(entries.begin(), entries.end(), order.begin(), [](const Entry &entry) { return entry.second; });
    return order;
}

// Ranks the texts in the given order while the collator agrees that it is
// their order; false, with ranks unfinished, where it does not. Identical
// texts, common in a column (the user's own name, a vendor's web contact),
// need no collator, and each text is made Unicode only once.
bool RankInOrder(const std::vector<int> &order, const std::vector<QByteArrayView> &ansi, const QCollator &collator,
                 std::vector<int> &ranks)
{
    QString previous;
    QString current;
    int rank = 0;
    for (std::size_t place = 0; place < order.size(); ++place) {
        const int text = order[place];
        if (place == 0) {
            AnsiText::AppendUnicode(previous, ansi[text]);
        } else if (ansi[text] != ansi[order[place - 1]]) {
            current.resize(0);
            AnsiText::AppendUnicode(current, ansi[text]);
            const int step = collator.compare(previous, current);
            if (step > 0)
                return false;
            if (step < 0)
                ++rank;
            std::swap(previous, current);
        }
        ranks[text] = rank;
    }
    return true;
}

} // namespace

std::vector<int> CollationRanks(const std::vector<QByteArrayView> &texts, const QCollator &collator)
{
    const int count = int(texts.size());
    qsizetype length = 0;
    for (const QByteArrayView text : texts)
        length += text.size();
    std::vector<int> order = KeyOrder(texts, CollationGuess(collator));
    std::vector<int> ranks(count);
    if (RankInOrder(order, texts, collator, ranks))
        return ranks;

    // The guess was wrong somewhere. A merge sort that keeps the runs already
    // in order mends it, at the cost of comparing texts at random.
    PackedTexts unicode(count, length);
    for (int text = 0; text < count; ++text) {
        AnsiText::AppendUnicode(unicode.All(), texts[text]);
        unicode.EndText();
    }
    NaturalMergeSort(order.begin(), order.end(), [&](int left, int right) {
        return texts[left] != texts[right] && collator.compare(unicode[left], unicode[right]) < 0;
    });
    RankInOrder(order, texts, collator, ranks);
    return ranks;
}
