#pragma once

#include "folders.h"

// The folders of the running system, as Qt's standard locations name them.
class StandardFolders final : public Folders
{
public:
    QString DataFolder() const override;
    QString DesktopFolder() const override;
    QString HelpPagePath() const override;
};
