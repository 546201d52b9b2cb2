#pragma once

#include <algorithm>
#include <iterator>
#include <vector>

// A stable merge sort that takes the runs already in order as they come and
// merges neighbouring runs until one is left: a sorted range costs one
// comparison an element, a range in random order about as many as any merge
// sort.
template <typename RandomIt, typename Less>
void NaturalMergeSort(RandomIt first, RandomIt last, Less less)
{
    using Offset = typename std::iterator_traits<RandomIt>::difference_type;
    const Offset size = last - first;
    std::vector<Offset> runStarts{0};
    for (Offset index = 1; index < size; ++index) {
        if (less(first[index], first[index - 1]))
            runStarts.push_back(index);
    }
    runStarts.push_back(size);
    // Each round merges the runs in pairs; runStarts ends with the end.
    while (runStarts.size() > 2) {
        std::vector<Offset> merged{0};
        for (std::size_t run = 0; run + 2 < runStarts.size(); run += 2) {
            std::inplace_merge(first + runStarts[run], first + runStarts[run + 1], first + runStarts[run + 2], less);
            merged.push_back(runStarts[run + 2]);
        }
        if (runStarts.size() % 2 == 0)
            merged.push_back(size);
        runStarts = std::move(merged);
    }
}
