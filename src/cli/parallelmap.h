#pragma once

#include <QList>

#include <functional>
#include <future>
#include <type_traits>
#include <vector>

// Runs the work for every item on a thread of its own and returns the
// results in the items' order. Commands work on each database's records
// alone, and that work is nearly all their time, so the databases go to
// as many cores as there are.
template <typename Item, typename Work>
auto ParallelMap(const QList<Item> &items, Work work)
{
    using Result = std::invoke_result_t<Work, const Item &>;
    std::vector<std::future<Result>> futures;
    futures.reserve(items.size());
    for (const Item &item : items)
        futures.push_back(std::async(std::launch::async, work, std::cref(item)));
    QList<Result> results;
    results.reserve(items.size());
    for (std::future<Result> &future : futures)
        results.append(future.get());
    return results;
}
