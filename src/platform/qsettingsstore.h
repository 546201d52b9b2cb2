#pragma once

#include "settingsstore.h"

// Settings in the system's native store: the registry key of the same path on
// Windows, ~/.config/<organisation>/<application>.conf elsewhere.
class QSettingsStore final : public SettingsStore
{
public:
    QString ReadSetting(const QString &keyPath, const QString &valueName) const override;
    void WriteSetting(const QString &keyPath, const QString &valueName, const QString &text) override;
};
