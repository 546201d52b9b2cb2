#pragma once

#include <QIcon>
#include <QLatin1StringView>

// The program's own drawings, compiled into it as SVG.
namespace ProgramIcons {

// The image ":/icons/<name>.svg".
QIcon Named(QLatin1StringView name);

inline QIcon Program()
{
    return Named(QLatin1StringView("korvane"));
}

} // namespace ProgramIcons
