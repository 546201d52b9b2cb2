// Prints how fast the main window comes up with a full database, how fast a
// header click sorts it, and how much memory the full list costs. Build it in
// Release; it runs offscreen on fake services. Targets on a 2-core machine:
// start to a shown, filled list at most 300 ms, a sorting header click at
// most 50 ms, at most 40 MB more peak memory than with an empty database.

#include "app/mainwindow/frmscrn.h"
#include "app/startup.h"
#include "benchmarkdata.h"
#include "editing/view/recordlistview.h"
#include "store/databasefiles.h"
#include "store/databasewriter.h"

#include "fakeclock.h"
#include "fakefolders.h"
#include "fakesettingsstore.h"
#include "fakeshell.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

constexpr int RecordCount = 32767;
constexpr int Repeats = 7;

struct FakeProgram
{
    explicit FakeProgram(int records)
    {
        QDir().mkpath(folders.DataFolder());
        QFile file(DatabaseFiles::DatabaseFilePath(folders.DataFolder(), 1));
        if (file.open(QIODevice::WriteOnly))
            file.write(FormatDatabase(MakeBenchmarkRecords(records)));
    }

    // Start-up as the program does it, without the splash wait, until the
    // window has been painted with its rows.
    frmScrn *Start()
    {
        frmScrn *window = Main({settings, folders, shell, clock}, 0ms);
        QCoreApplication::processEvents();
        return window;
    }

    FakeSettingsStore settings;
    FakeFolders folders;
    FakeShell shell;
    FakeClock clock;
};

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double ElapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

void Report(const char *what, double value, const char *unit, double target)
{
    std::printf("%-48s %10.2f %-3s (target %s %.0f)\n", what, value, unit,
                value <= target ? "met, <=" : "MISSED, <=", target);
}

void Close(frmScrn *window)
{
    window->QuitProgram();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

double StartUpMs()
{
    FakeProgram program(RecordCount);
    std::vector<double> times;
    for (int i = 0; i < Repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        frmScrn *window = program.Start();
        times.push_back(ElapsedMs(timer));
        if (window->Database().List().Count() != RecordCount)
            std::printf("only %d rows loaded\n", window->Database().List().Count());
        Close(window);
    }
    return Median(times);
}

double HeaderClickMs()
{
    FakeProgram program(RecordCount);
    frmScrn *window = program.Start();
    QHeaderView *header = window->Design().ListView1->horizontalHeader();
    std::vector<double> times;
    for (int i = 0; i < Repeats; ++i) {
        const int column = i % 4;
        const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                            header->height() / 2);
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
        QCoreApplication::processEvents();
        times.push_back(ElapsedMs(timer));
    }
    if (!window->Database().List().IsSorted())
        std::printf("the header clicks did not sort\n");
    Close(window);
    return Median(times);
}

// Peak resident memory of this process, in kB.
double PeakKilobytes()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble();
    }
    return 0;
}

// Each measurement of memory runs in a process of its own, so the peaks of
// the two cases do not mix.
double PeakKilobytesInChild(int records)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {u"--peak-memory"_s, QString::number(records)});
    child.waitForFinished(120000);
    return child.readAllStandardOutput().trimmed().toDouble();
}

int MeasurePeakMemory(int records)
{
    FakeProgram program(records);
    Close(program.Start());
    std::printf("%.0f\n", PeakKilobytes());
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 3 && arguments[1] == u"--peak-memory"_s)
        return MeasurePeakMemory(arguments[2].toInt());

    std::printf("Main window, %d records, offscreen\n", RecordCount);
    Report("start-up to a shown, filled list (median)", StartUpMs(), "ms", 300);
    Report("header click sorting all rows (median)", HeaderClickMs(), "ms", 50);
    const double empty = PeakKilobytesInChild(0);
    const double full = PeakKilobytesInChild(RecordCount);
    std::printf("%-48s %10.2f MB\n", "peak memory, empty database", empty / 1024);
    std::printf("%-48s %10.2f MB\n", "peak memory, full database", full / 1024);
    Report("peak memory added by the full database", (full - empty) / 1024, "MB", 40);
    return 0;
}
