#include "settingsstore.h"

#include "platform/appinfo.h"

using namespace Qt::StringLiterals;

QString SettingsKeyPath()
{
    return u"Software\\"_s + AppInfo::OrganizationName + u'\\' + AppInfo::ApplicationTitle;
}
