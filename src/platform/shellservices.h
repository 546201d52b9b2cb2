#pragma once

#include <QString>

// What the program asks of the desktop: opening a document or an address
// with its associated program, and starting a system information tool.
class ShellServices
{
public:
    virtual ~ShellServices() = default;

    // Hands the target over unchanged; nothing waits for it and its outcome
    // is not reported.
    virtual void ShellOpen(const QString &target) = 0;

    // Starts the system information tool; false when there is none to start.
    virtual bool StartSystemInformation() = 0;
};
