// Prints the speed of the record store on a database of the largest size the
// program allows, each figure beside its target. Build it in Release; the
// targets are for a 2-core machine. With --markdown it prints a table for the
// README.

#include "benchmarkdata.h"
#include "benchmarkreport.h"
#include "store/databasewriter.h"
#include "store/linecodec.h"
#include "store/recordline.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int RecordCount = 32767;
constexpr int Repeats = 15;
constexpr int FreshRepeats = 21;

double ElapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

Runs TimeMs(const std::function<void()> &run, int repeats = Repeats)
{
    Runs runs;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        runs.Add(ElapsedMs(timer));
    }
    return runs;
}

Runs Throughput(double megabytes, const Runs &milliseconds)
{
    Runs throughput;
    for (const double ms : milliseconds.Values())
        throughput.Add(megabytes / (ms / 1e3));
    return throughput;
}

struct LoadRuns
{
    Runs floor;
    Runs load;
    Runs ratio;
    qsizetype rows = 0;
    std::string floorKind;
};

// One fresh process of the load probe; false when it failed.
bool ProbeOnce(const QString &mode, const QString &path, Runs &runs, LoadRuns &loading)
{
    QProcess probe;
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(QDir(QCoreApplication::applicationDirPath()).filePath(u"korvane_loadprobe"_s), {mode, path});
    if (!probe.waitForFinished(60000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        return false;
    const QList<QByteArray> figures = probe.readAllStandardOutput().trimmed().split(' ');
    if (figures.size() != 3)
        return false;
    runs.Add(figures[0].toDouble());
    if (mode == u"load"_s)
        loading.rows = figures[1].toLongLong();
    else
        loading.floorKind = figures[2].toStdString();
    return true;
}

// The floor and the load take turns, each in a fresh process as at the
// program's start, so a busy moment of the machine weighs on both alike;
// each load's ratio is to the floor just before it.
std::optional<LoadRuns> TimeLoading(const QString &path)
{
    LoadRuns runs;
    for (int i = 0; i < FreshRepeats; ++i) {
        if (!ProbeOnce(u"floor"_s, path, runs.floor, runs) || !ProbeOnce(u"load"_s, path, runs.load, runs))
            return std::nullopt;
        runs.ratio.Add(runs.load.Values().back() / runs.floor.Values().back());
    }
    return runs;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    BenchmarkReport report(argc, argv);
    const QList<RegistrationRecord> records = MakeBenchmarkRecords(RecordCount);
    const QByteArray file = MakeBenchmarkFile(records);

    QList<QByteArray> plainLines;
    qsizetype plainBytes = 0;
    for (const RegistrationRecord &record : records) {
        plainLines.append(FormatRecordLine(record, LineBreak::Append));
        plainBytes += plainLines.last().size();
    }
    QList<QByteArray> hexLines(plainLines.size());
    const Runs encodeMs = TimeMs([&] {
        for (qsizetype i = 0; i < plainLines.size(); ++i)
            hexLines[i] = EncodeLine(plainLines.at(i), CodecKey());
    });
    const double hexMegabytes = double(2 * plainBytes) / 1e6;
    qsizetype decoded = 0;
    const Runs decodeMs = TimeMs([&] {
        for (const QByteArray &line : std::as_const(hexLines))
            decoded += DecodeLine(line, CodecKey()).size();
    });

    // The rewrite syncs its file: on the temporary folder's disk that costs a
    // real flush, on tmpfs nothing, which leaves the work of the rewrite.
    QTemporaryDir onDisk;
    QTemporaryDir inMemory(u"/dev/shm/korvane-bench-XXXXXX"_s);
    const QString diskPath = QDir(onDisk.path()).filePath(u"sdb1.ppd"_s);
    const QString memoryPath = QDir(inMemory.path()).filePath(u"sdb1.ppd"_s);
    // A rewrite leaves a missing database missing.
    for (const QString &path : {diskPath, memoryPath})
        QFile(path).open(QIODevice::WriteOnly);
    const Runs rewriteDiskMs = TimeMs([&] { RewriteDatabase(diskPath, diskPath + u".bak"_s, records); });
    const Runs rewriteTmpfsMs = TimeMs([&] { RewriteDatabase(memoryPath, memoryPath + u".bak"_s, records); });
    // The file loaded is the realistic one, with both line forms.
    const QString loadPath = QDir(onDisk.path()).filePath(u"sdb2.ppd"_s);
    QFile loadFile(loadPath);
    if (!loadFile.open(QIODevice::WriteOnly) || loadFile.write(file) != file.size())
        return 1;
    loadFile.close();
    const double fileMegabytes = double(file.size()) / 1e6;
    const std::optional<LoadRuns> fresh = TimeLoading(loadPath);
    if (!fresh) {
        std::printf("the load probe failed\n");
        return 1;
    }
    const LoadRuns &loading = *fresh;
    const Runs appendMs = TimeMs([&] { AppendRecord(diskPath, records.first()); }, 101);

    report.Heading("Record store, " + DescribeBenchmarkRecords(records) + ", "
                   + QByteArray::number(fileMegabytes, 'f', 2).toStdString() + " MB file, "
                   + QByteArray::number(double(plainBytes) / RecordCount, 'f', 1).toStdString()
                   + " plain characters a record, " + std::to_string(loading.rows) + " loaded");
    report.Note("Throughputs: 15 runs over all lines, in memory.");
    report.Figure("DecodeLine throughput (hex text)", Throughput(hexMegabytes, decodeMs), "MB/s",
                  {Target::AtLeast, 400});
    report.Figure("EncodeLine throughput (hex text)", Throughput(hexMegabytes, encodeMs), "MB/s");
    report.Note("Loading: 21 fresh processes each, floor and load taking turns, the file in the page cache; each");
    report.Note("timed inside its process from opening the file to the work done (for the load, the filled list).");
    report.Figure("floor: read and hex-decode the file (" + loading.floorKind + ")", loading.floor, "ms");
    report.Figure("LoadDatabase into an empty record list", loading.load, "ms", {Target::AtMost, 40});
    report.Figure("LoadDatabase / the floor just before it", loading.ratio, "x", {Target::AtMost, 1.5});
    report.Note("Writing: 15 runs each, 101 for the append.");
    report.Figure("RewriteDatabase on disk, synced", rewriteDiskMs, "ms");
    report.Figure("RewriteDatabase on tmpfs, where a sync is free", rewriteTmpfsMs, "ms", {Target::AtMost, 60});
    report.Figure("AppendRecord to the full file", appendMs, "ms");
    return decoded > 0 ? report.ExitCode() : 1;
}
