#pragma once

#include <QList>
#include <QString>

#include <optional>

// The databases a -d value names: "1" to "4", "work", "games", "tools",
// "misc" (letter case ignored), or "all" for the four in order. None for
// anything else.
std::optional<QList<int>> ParseDatabaseChoice(QStringView choice);
