// One measured start of the program, launched by the window benchmark: it
// loads the libraries the program loads and no others, starts the main window
// on the database folder it is given, and prints the time since its launch,
// its peak resident memory and the number of rows shown.
//
// Arguments: the launch time on the monotonic clock in nanoseconds, and the
// data folder.

#include "app/mainwindow/frmscrn.h"
#include "platform/folders.h"
#include "windowstart.h"

#include "testsupport/fakeclock.h"
#include "testsupport/fakesettingsstore.h"
#include "testsupport/fakeshell.h"

#include <QApplication>
#include <QFile>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// The data folder of a database written by the measuring process.
class GivenFolders final : public Folders
{
public:
    explicit GivenFolders(const QString &dataFolder)
        : m_dataFolder(dataFolder)
    {}
    QString DataFolder() const override { return m_dataFolder; }
    QString DesktopFolder() const override { return {}; }
    QString HelpPagePath() const override { return {}; }

private:
    QString m_dataFolder;
};

// Peak resident memory of this process, in MB.
double PeakMegabytes()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3)
        return 2;
    const std::int64_t launched = arguments[1].toLongLong();
    FakeSettingsStore settings;
    GivenFolders folders(arguments[2]);
    FakeShell shell;
    FakeClock clock;
    frmScrn *window = StartAndPaint({settings, folders, shell, clock});
    const double startMs = double(MonotonicNanoseconds() - launched) / 1e6;
    std::printf("%f %f %d\n", startMs, PeakMegabytes(), window->Database().List().Count());
    Close(window);
    return 0;
}
