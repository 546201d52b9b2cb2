#pragma once

#include <QString>
#include <QStringList>

// The candidate closest to a mistyped name, by the fewest letters added,
// removed or changed; empty when none is close enough to be what was meant.
QString NearestName(const QString &given, const QStringList &candidates);
