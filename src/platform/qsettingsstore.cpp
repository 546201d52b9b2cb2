#include "qsettingsstore.h"

#include "logcategories.h"

#include <QSettings>

namespace {

// A key path of the form Software\<organisation>\<application> names the
// QSettings scope that Qt maps onto exactly that registry key on Windows.
struct SettingsScope
{
    explicit SettingsScope(const QString &keyPath)
    {
        const QStringList parts = keyPath.split(u'\\', Qt::SkipEmptyParts);
        organization = parts.size() >= 2 ? parts.at(parts.size() - 2) : keyPath;
        application = parts.isEmpty() ? keyPath : parts.last();
    }

    QString organization;
    QString application;
};

} // namespace

QString QSettingsStore::ReadSetting(const QString &keyPath, const QString &valueName) const
{
    const SettingsScope scope(keyPath);
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, scope.organization, scope.application);
    const QVariant value = settings.value(valueName);
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return QString::number(value.toInt());
    default:
        return {};
    }
}

void QSettingsStore::WriteSetting(const QString &keyPath, const QString &valueName, const QString &text)
{
    const SettingsScope scope(keyPath);
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, scope.organization, scope.application);
    settings.setValue(valueName, text);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qCDebug(lcPlatform) << "could not write setting" << valueName << "to" << settings.fileName();
}
