#pragma once

#include "platform/shellservices.h"

#include <QStringList>

// Records what the program asked the desktop to open.
class FakeShell final : public ShellServices
{
public:
    void ShellOpen(const QString &target) override { opened.append(target); }
    bool StartSystemInformation() override
    {
        ++systemInformationStarts;
        return hasSystemInformation;
    }

    QStringList opened;
    bool hasSystemInformation = false;
    int systemInformationStarts = 0;
};
