#pragma once

#include <QLatin1StringView>
#include <QStringView>

// The two values the program keeps in its settings key.
namespace SettingValues {
inline constexpr QLatin1StringView ShowGrid{"102"};
inline constexpr QLatin1StringView CurrentDatabase{"103"};

// A stored switch is on for "True" and for any text that starts, after
// blanks, with a decimal number other than zero ("1", "-1", " 2.5").
bool IsOn(QStringView text);
} // namespace SettingValues
