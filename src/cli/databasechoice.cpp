#include "databasechoice.h"

#include "store/databasefiles.h"

#include <numeric>

namespace {

constexpr QStringView ShortNames[DatabaseFiles::Count] = {u"work", u"games", u"tools", u"misc"};

} // namespace

std::optional<QList<int>> ParseDatabaseChoice(QStringView choice)
{
    if (choice.compare(u"all", Qt::CaseInsensitive) == 0) {
        QList<int> all(DatabaseFiles::Count);
        std::iota(all.begin(), all.end(), 1);
        return all;
    }
    for (int number = 1; number <= DatabaseFiles::Count; ++number) {
        if (choice == QString::number(number) || choice.compare(ShortNames[number - 1], Qt::CaseInsensitive) == 0)
            return QList<int>{number};
    }
    return std::nullopt;
}
