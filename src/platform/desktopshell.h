#pragma once

#include "shellservices.h"

// The free desktop's services: xdg-open, and the first system information
// program found on PATH.
class DesktopShell final : public ShellServices
{
public:
    void ShellOpen(const QString &target) override;
    bool StartSystemInformation() override;

    // The one argument the opener is given for a target: the text unchanged,
    // except that a leading "-" would read as an option, so such a text is
    // named as the relative path it is.
    static QString OpenerArgument(const QString &target);
};
