#include "settingsstore.h"

#include "appinfo.h"

using namespace Qt::StringLiterals;

QString SettingsKeyPath()
{
    return u"Software\\"_s + AppInfo::OrganizationName + u'\\' + AppInfo::ApplicationTitle;
}
