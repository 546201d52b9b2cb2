// Prints the speed of the record store on a database of the largest size the
// program allows, each figure beside its target. Build it in Release; the
// targets are for a 2-core machine. With --markdown it prints a table for the
// README.

#include "benchmarkdata.h"
#include "benchmarkreport.h"
#include "editing/recordlist.h"
#include "store/databasereader.h"
#include "store/databasewriter.h"
#include "store/linecodec.h"
#include "store/recordline.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int RecordCount = 32767;
constexpr int Repeats = 15;

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

// The floor for loading: the file's bytes read and turned from hex digits into
// bytes in the plainest loop, with no records, fields or codec key.
qsizetype BaselineRead(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray content = file.readAll();
    QByteArray bytes(content.size() / 2, Qt::Uninitialized);
    char *out = bytes.data();
    static constexpr auto Nibble = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
    const char *in = content.constData();
    const char *const end = in + content.size();
    while (in < end) {
        if (*in == '\r') {
            in += 2;
            continue;
        }
        *out++ = char(Nibble(in[0]) << 4 | Nibble(in[1]));
        in += 2;
    }
    return out - bytes.constData();
}

struct LoadRuns
{
    Runs baseline;
    Runs load;
    Runs ratio;
    int rows = 0;
};

// The baseline and the load take turns, so a busy moment of the machine
// weighs on both alike; each load's ratio is to the baseline just before it.
LoadRuns TimeLoading(const QString &path)
{
    LoadRuns runs;
    for (int i = 0; i < Repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        BaselineRead(path);
        const double baselineMs = ElapsedMs(timer);

        std::optional<RecordList> list;
        list.emplace();
        timer.start();
        list->AppendRows(ReadDatabaseFile(path));
        const double loadMs = ElapsedMs(timer);
        runs.rows = list->Count();
        list.reset();

        runs.baseline.Add(baselineMs);
        runs.load.Add(loadMs);
        runs.ratio.Add(loadMs / baselineMs);
    }
    return runs;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    BenchmarkReport report(argc, argv);
    const QList<RegistrationRecord> records = MakeBenchmarkRecords(RecordCount);

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
    const double fileMegabytes = double(QFile(diskPath).size()) / 1e6;

    const LoadRuns loading = TimeLoading(diskPath);
    const Runs appendMs = TimeMs([&] { AppendRecord(diskPath, records.first()); }, 101);

    report.Heading("Record store, " + std::to_string(loading.rows) + " records, "
                   + QByteArray::number(fileMegabytes, 'f', 2).toStdString() + " MB file, "
                   + QByteArray::number(double(plainBytes) / RecordCount, 'f', 1).toStdString()
                   + " plain characters a record");
    report.Note("Throughputs: 15 runs over all lines, in memory.");
    report.Figure("DecodeLine throughput (hex text)", Throughput(hexMegabytes, decodeMs), "MB/s",
                  {Target::AtLeast, 400});
    report.Figure("EncodeLine throughput (hex text)", Throughput(hexMegabytes, encodeMs), "MB/s");
    report.Note("Loading: 15 runs taking turns with the baseline, the file in the page cache. A load is timed");
    report.Note("from the call to the filled list; creating and freeing the list lie outside the timing.");
    report.Figure("baseline: read and hex-decode the file", loading.baseline, "ms");
    report.Figure("LoadDatabase into an empty record list", loading.load, "ms", {Target::AtMost, 40});
    report.Figure("LoadDatabase / the baseline before it", loading.ratio, "x", {Target::AtMost, 2});
    report.Note("Writing: 15 runs each, 101 for the append.");
    report.Figure("RewriteDatabase on disk, synced", rewriteDiskMs, "ms");
    report.Figure("RewriteDatabase on tmpfs, where a sync is free", rewriteTmpfsMs, "ms", {Target::AtMost, 60});
    report.Figure("AppendRecord to the full file", appendMs, "ms");
    return decoded > 0 ? report.ExitCode() : 1;
}
