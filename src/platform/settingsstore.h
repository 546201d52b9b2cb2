#pragma once

#include <QString>

// The per-user store of named text values. Missing keys and values read as
// empty text, and a write creates whatever is missing. Failures are never
// reported to the caller: the program goes on with its in-memory state.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    virtual QString ReadSetting(const QString &keyPath, const QString &valueName) const = 0;
    virtual void WriteSetting(const QString &keyPath, const QString &valueName, const QString &text) = 0;
};

// "Software\Tessaly\Korvane": the key every setting of the program lives under.
QString SettingsKeyPath();
