#include "nearestname.h"

#include <QList>

#include <algorithm>

namespace {

qsizetype EditDistance(QStringView from, QStringView to)
{
    QList<qsizetype> row(to.size() + 1);
    for (qsizetype column = 0; column <= to.size(); ++column)
        row[column] = column;
    for (qsizetype line = 1; line <= from.size(); ++line) {
        qsizetype diagonal = row[0];
        row[0] = line;
        for (qsizetype column = 1; column <= to.size(); ++column) {
            const qsizetype above = row[column];
            const qsizetype changed = diagonal + (from[line - 1] == to[column - 1] ? 0 : 1);
            row[column] = std::min({above + 1, row[column - 1] + 1, changed});
            diagonal = above;
        }
    }
    return row[to.size()];
}

} // namespace

QString NearestName(const QString &given, const QStringList &candidates)
{
    QString nearest;
    // Two slips at most, and at most half the name: "lsit" is list, "x"
    // is nothing.
    qsizetype best = 3;
    for (const QString &candidate : candidates) {
        // A name cut short ("--spreadsheet") is as good as one slip.
        const qsizetype distance =
            given.size() >= 3 && candidate.startsWith(given) ? 1 : EditDistance(given, candidate);
        if (distance < best && distance * 2 <= candidate.size()) {
            best = distance;
            nearest = candidate;
        }
    }
    return nearest;
}
