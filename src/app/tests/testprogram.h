#pragma once

#include "app/mainwindow/frmscrn.h"
#include "app/startup.h"
#include "store/databasefiles.h"
#include "store/databasewriter.h"

#include "testsupport/fakeclock.h"
#include "testsupport/fakefolders.h"
#include "testsupport/fakesettingsstore.h"
#include "testsupport/fakeshell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTest>

#include <chrono>

// The program started on fake services: settings in memory, folders in a
// temporary directory, a recording shell and a fixed clock. No splash wait.
class TestProgram
{
public:
    ~TestProgram()
    {
        delete window;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    frmScrn &Start()
    {
        window = Main({settings, folders, shell, clock}, std::chrono::milliseconds(0));
        return *window;
    }

    // Writes database n's file with one record per product.
    void WriteDatabase(int number, const QList<RegistrationRecord> &records)
    {
        QDir().mkpath(folders.DataFolder());
        QFile file(DatabaseFiles::DatabaseFilePath(folders.DataFolder(), number));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(FormatDatabase(records));
    }

    static RegistrationRecord Record(const QByteArray &product, const QByteArray &recorded = "01-02-2026 08:00:00")
    {
        return RegistrationRecord({product, product + " owner", product + "-ID", product + "-CODE",
                                   "https://" + product + ".example/", "2026-01-01", recorded});
    }

    FakeSettingsStore settings;
    FakeFolders folders;
    FakeShell shell;
    FakeClock clock;
    QPointer<frmScrn> window;
};
