#pragma once

#include "platform/settingsstore.h"

#include <QHash>

// Settings in memory, counting writes so tests can see that nothing was
// written.
class FakeSettingsStore final : public SettingsStore
{
public:
    QString ReadSetting(const QString &keyPath, const QString &valueName) const override;
    void WriteSetting(const QString &keyPath, const QString &valueName, const QString &text) override;

    // Stores a value under the program's own key.
    void Set(const QString &valueName, const QString &text);
    QString Get(const QString &valueName) const;

    int writeCount = 0;

private:
    QHash<QString, QString> m_values;
};
