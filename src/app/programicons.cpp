#include "programicons.h"

using namespace Qt::StringLiterals;

// The resources live in a static library, so nothing would pull them into
// the program unless something refers to them.
static void InitialiseIconResources()
{
    Q_INIT_RESOURCE(icons);
}

QIcon ProgramIcons::Named(QLatin1StringView name)
{
    static const bool initialised = (InitialiseIconResources(), true);
    Q_UNUSED(initialised);
    return QIcon(u":/icons/"_s + name + u".svg"_s);
}
