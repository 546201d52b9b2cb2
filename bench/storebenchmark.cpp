// Prints the speed of the record store on a database of the largest size the
// program allows. Build it in Release; targets on a 2-core machine:
// decoding at least 400 MB/s, loading at most 40 ms and at most 4 times the
// baseline, rewriting at most 60 ms without the flush to disk.

#include "benchmarkdata.h"
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

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

constexpr int RecordCount = 32767;
constexpr int Repeats = 15;

// The median of several runs, in milliseconds.
double MedianMs(const std::function<void()> &run, int repeats = Repeats)
{
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
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

void Print(const char *what, double value, const char *unit)
{
    std::printf("%-46s %10.2f %s\n", what, value, unit);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QList<RegistrationRecord> records = MakeBenchmarkRecords(RecordCount);

    QList<QByteArray> plainLines;
    qsizetype plainBytes = 0;
    for (const RegistrationRecord &record : records) {
        plainLines.append(FormatRecordLine(record, LineBreak::Append));
        plainBytes += plainLines.last().size();
    }
    QList<QByteArray> hexLines(plainLines.size());
    const double encodeMs = MedianMs([&] {
        for (qsizetype i = 0; i < plainLines.size(); ++i)
            hexLines[i] = EncodeLine(plainLines.at(i), CodecKey());
    });
    const double hexMegabytes = double(2 * plainBytes) / 1e6;
    qsizetype decoded = 0;
    const double decodeMs = MedianMs([&] {
        for (const QByteArray &line : std::as_const(hexLines))
            decoded += DecodeLine(line, CodecKey()).size();
    });

    // Disk: the system's temporary folder. No flush: tmpfs, where a flush to
    // disk costs nothing, so the figure is the work of the rewrite itself.
    QTemporaryDir onDisk;
    QTemporaryDir inMemory(u"/dev/shm/korvane-bench-XXXXXX"_s);
    const QString diskPath = QDir(onDisk.path()).filePath(u"sdb1.ppd"_s);
    const QString memoryPath = QDir(inMemory.path()).filePath(u"sdb1.ppd"_s);
    QFile::copy(u"/dev/null"_s, diskPath);
    QFile::copy(u"/dev/null"_s, memoryPath);
    const double rewriteFlushMs = MedianMs([&] { RewriteDatabase(diskPath, diskPath + u".bak"_s, records); });
    const double rewriteMs = MedianMs([&] { RewriteDatabase(memoryPath, memoryPath + u".bak"_s, records); });
    const double fileMegabytes = double(QFile(diskPath).size()) / 1e6;

    qsizetype baselineBytes = 0;
    const double baselineMs = MedianMs([&] { baselineBytes += BaselineRead(diskPath); });
    int loadedRows = 0;
    const double loadMs = MedianMs([&] {
        RecordList list;
        list.AppendRows(ReadDatabaseFile(diskPath));
        loadedRows = list.Count();
    });
    const double appendMs = MedianMs([&] { AppendRecord(diskPath, records.first()); }, 101);

    std::printf("Record store, %d records, %.2f MB file (%.1f plain characters a record)\n", loadedRows, fileMegabytes,
                double(plainBytes) / RecordCount);
    Print("EncodeLine throughput (hex text)", hexMegabytes / (encodeMs / 1e3), "MB/s");
    Print("DecodeLine throughput (hex text)", hexMegabytes / (decodeMs / 1e3), "MB/s");
    Print("Baseline: read and hex-decode the file", baselineMs, "ms");
    Print("LoadDatabase into the record list", loadMs, "ms");
    Print("LoadDatabase / baseline", loadMs / baselineMs, "x");
    Print("RewriteDatabase with flush to disk", rewriteFlushMs, "ms");
    Print("RewriteDatabase without flush (tmpfs)", rewriteMs, "ms");
    Print("AppendRecord to the full file", appendMs, "ms");
    return decoded > 0 && baselineBytes > 0 ? 0 : 1;
}
