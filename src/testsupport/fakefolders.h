#pragma once

#include "platform/folders.h"

#include <QTemporaryDir>

// Folders inside one temporary directory that disappears with the fake. The
// data folder and the Desktop do not exist until a test or the code under
// test creates them.
class FakeFolders final : public Folders
{
public:
    FakeFolders();

    QString DataFolder() const override;
    QString DesktopFolder() const override;
    QString HelpPagePath() const override;

    // Creates the Desktop folder, which a fresh fake lacks.
    QString MakeDesktop();
    QString Root() const { return m_root.path(); }

private:
    QTemporaryDir m_root;
};
