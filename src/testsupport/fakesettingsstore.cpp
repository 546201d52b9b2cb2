#include "testsupport/fakesettingsstore.h"

using namespace Qt::StringLiterals;

QString FakeSettingsStore::ReadSetting(const QString &keyPath, const QString &valueName) const
{
    return m_values.value(keyPath + u'\\' + valueName);
}

void FakeSettingsStore::WriteSetting(const QString &keyPath, const QString &valueName, const QString &text)
{
    ++writeCount;
    m_values.insert(keyPath + u'\\' + valueName, text);
}

void FakeSettingsStore::Set(const QString &valueName, const QString &text)
{
    m_values.insert(SettingsKeyPath() + u'\\' + valueName, text);
}

QString FakeSettingsStore::Get(const QString &valueName) const
{
    return ReadSetting(SettingsKeyPath(), valueName);
}
