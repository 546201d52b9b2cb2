#pragma once

#include "shellservices.h"

// The free desktop's services: xdg-open, and the first system information
// program found on PATH.
class DesktopShell final : public ShellServices
{
public:
    void ShellOpen(const QString &target) override;
    bool StartSystemInformation() override;
};
