// Prints how fast a header click sorts a full database of realistic records
// in the main window, from the press to the repainted list, each figure
// beside its target. Build it in Release; it runs offscreen on fake services
// and the targets are for a 2-core machine. With --markdown it prints a table
// for the README.

#include "app/mainwindow/frmscrn.h"
#include "benchmarkdata.h"
#include "benchmarkreport.h"
#include "store/databasefiles.h"
#include "store/databasewriter.h"
#include "views/recordlistview.h"
#include "windowstart.h"

#include "testsupport/fakeclock.h"
#include "testsupport/fakefolders.h"
#include "testsupport/fakesettingsstore.h"
#include "testsupport/fakeshell.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QTest>

#include <cstdio>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int RecordCount = 32767;
constexpr int ClickRounds = 7;

double ElapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

void WriteDatabase(const Folders &folders, int records)
{
    QDir().mkpath(folders.DataFolder());
    QFile file(DatabaseFiles::DatabaseFilePath(folders.DataFolder(), 1));
    if (file.open(QIODevice::WriteOnly))
        file.write(MakeBenchmarkFile(MakeBenchmarkRecords(records)));
}

struct ClickRuns
{
    // The first click on each column, by column caption.
    std::vector<std::pair<QString, Runs>> firstMs;
    Runs repeatedMs;
};

double ClickMs(QHeaderView *header, int column)
{
    const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    QCoreApplication::processEvents();
    return ElapsedMs(timer);
}

// Every round replaces a row with itself, as a user saving a record unchanged
// would, which drops what earlier sorts kept; then each column visible in the
// window is clicked twice: first to build its keys, then with them at hand.
ClickRuns HeaderClicks()
{
    FakeSettingsStore settings;
    FakeFolders folders;
    FakeShell shell;
    FakeClock clock;
    WriteDatabase(folders, RecordCount);
    frmScrn *window = StartAndPaint({settings, folders, shell, clock});
    RecordList &list = window->Database().List();
    QHeaderView *header = window->Design().ListView1->horizontalHeader();
    std::vector<int> visibleColumns;
    for (int column = 0; column < header->count(); ++column) {
        if (header->sectionViewportPosition(column) + header->sectionSize(column) <= header->viewport()->width())
            visibleColumns.push_back(column);
    }
    ClickRuns runs;
    for (const int column : std::as_const(visibleColumns))
        runs.firstMs.emplace_back(list.headerData(column, Qt::Horizontal).toString(), Runs());
    for (int round = 0; round < ClickRounds; ++round) {
        const RegistrationRecord unchanged = list.RowAt(1);
        list.SetCells(1, unchanged);
        for (std::size_t i = 0; i < visibleColumns.size(); ++i)
            runs.firstMs[i].second.Add(ClickMs(header, visibleColumns[i]));
        for (const int column : std::as_const(visibleColumns))
            runs.repeatedMs.Add(ClickMs(header, column));
    }
    if (!list.IsSorted())
        std::printf("the header clicks did not sort\n");
    Close(window);
    return runs;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    BenchmarkReport report(argc, argv);
    const ClickRuns clicks = HeaderClicks();

    report.Heading("Header clicks, " + std::to_string(RecordCount) + " records, offscreen");
    report.Note("Header clicks: from the press to the repainted list; each visible column in 7 rounds, first after");
    report.Note("a row was replaced (its column's texts are collated then), then again.");
    for (const auto &[caption, firstMs] : clicks.firstMs)
        report.Figure("header click, first on " + caption.toStdString(), firstMs, "ms", {Target::AtMost, 25});
    report.Figure("header click, column sorted before", clicks.repeatedMs, "ms", {Target::AtMost, 10});
    return report.ExitCode();
}
