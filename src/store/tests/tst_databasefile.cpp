#include "store/databasefiles.h"
#include "store/databasereader.h"
#include "store/databasewriter.h"
#include "store/linecodec.h"
#include "store/recordline.h"
#include "store/regularfile.h"
#include "testsupport/filesizelimit.h"
#include "testsupport/testfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// "abc|me|||||12-04-2026 01:35:24|", encoded by hand, as the append writes it
// and, with the encoded CR LF, as the rewrite writes it.
const QByteArray AppendedLine = "2A0D110A0C0B1937130E0A505C487B5B5F44515C536B5F434C525B5F795B0E\r\n";
const QByteArray RewrittenLine = "2A0D110A0C0B1937130E0A505C487B5B5F44515C536B5F434C525B5F795B0E7B6B\r\n";
constexpr QFile::Permissions OwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;

const RegistrationRecord AbcRecord = RegistrationRecord{{"abc", "me", "", "", "", "", "12-04-2026 01:35:24"}};

} // namespace

class TestDatabaseFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    QString m_path;
    QString m_backup;

private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        m_path = DatabaseFiles::DatabaseFilePath(m_folder.path(), 1);
        m_backup = DatabaseFiles::BackupFilePath(m_folder.path(), 1);
        QFile::remove(m_path);
        QFile::remove(m_backup);
    }

    void append_writesTheEncodedLine()
    {
        QVERIFY(AppendRecord(m_path, AbcRecord));
        QCOMPARE(TestFiles::Read(m_path), AppendedLine);
        QVERIFY(AppendRecord(m_path, AbcRecord));
        QCOMPARE(TestFiles::Read(m_path), AppendedLine + AppendedLine);
    }

    void rewrite_writesEncodedLineBreaks()
    {
        QVERIFY(TestFiles::Write(m_path, "stale"));
        QVERIFY(RewriteDatabase(m_path, m_backup, {AbcRecord, AbcRecord}));
        QCOMPARE(TestFiles::Read(m_path), RewrittenLine + RewrittenLine);
        QVERIFY(!QFile::exists(m_backup));
    }

    void load_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QList<RegistrationRecord>>("records");
        QTest::newRow("zero bytes") << QByteArray() << QList<RegistrationRecord>();
        QTest::newRow("only empty lines") << QByteArray("\r\n\r\n\r\n") << QList<RegistrationRecord>();
        QTest::newRow("appended and rewritten lines, empty lines between")
            << AppendedLine + "\r\n" + RewrittenLine + "\r\n\r\n" + AppendedLine
            << QList<RegistrationRecord>{AbcRecord, AbcRecord, AbcRecord};
        QTest::newRow("last line without line end")
            << AppendedLine + AppendedLine.chopped(2) << QList<RegistrationRecord>{AbcRecord, AbcRecord};
        QTest::newRow("last line ending in a lone CR")
            << AppendedLine + AppendedLine.chopped(1) << QList<RegistrationRecord>{AbcRecord, AbcRecord};
        QTest::newRow("CR inside a line") << AppendedLine.chopped(2) + "\r\r\n" + AppendedLine
                                          << QList<RegistrationRecord>{RegistrationRecord(), AbcRecord};
        QTest::newRow("line ends converted to LF") << QByteArray(AppendedLine).replace("\r\n", "\n").repeated(2)
                                                   << QList<RegistrationRecord>{AbcRecord, AbcRecord};
        QTest::newRow("lower-case hex") << AppendedLine.toLower() << QList<RegistrationRecord>{AbcRecord};
        // Damaged lines still give a row, so the good records around them
        // keep their places and nothing after them is lost.
        QTest::newRow("garbage between good lines")
            << AppendedLine + "not hex at all\r\n" + AppendedLine
            << QList<RegistrationRecord>{AbcRecord, RegistrationRecord(), AbcRecord};
        QTest::newRow("truncated last line")
            << AppendedLine + AppendedLine.first(21)
            << QList<RegistrationRecord>{AbcRecord, RegistrationRecord{{"abc", "me", "", "", "", "", ""}}};
        QTest::newRow("fewer than seven fields")
            << EncodeLine("P|R|", CodecKey()) + "\r\n" + AppendedLine
            << QList<RegistrationRecord>{RegistrationRecord{{"P", "R", "", "", "", "", ""}}, AbcRecord};
        QTest::newRow("all fields empty, rewritten form") << EncodeLine("|||||||\r\n", CodecKey()) + "\r\n"
                                                          << QList<RegistrationRecord>{RegistrationRecord()};
        // Lines of many vector steps, in runs broken by lines of other forms.
        const RegistrationRecord longRecord{{"A product name of forty characters long", "Ana L\xF3pez", "CU-448812",
                                             "NBAW-7Q2K-99XD-PL01-ZZ31", "https://nimbus.example/support", "03-11-2025",
                                             "12-04-2026 01:35:24"}};
        const QByteArray longLine = EncodeLine(FormatRecordLine(longRecord, LineBreak::Append), CodecKey()) + "\r\n";
        QTest::newRow("long lines around an odd digit and a damaged line")
            << longLine + AppendedLine + "0\r\n" + longLine + "2Z\r\n" + longLine + longLine.chopped(2)
            << QList<RegistrationRecord>{longRecord, AbcRecord, RegistrationRecord(), longRecord, RegistrationRecord(),
                                         longRecord, longRecord};
        const QByteArray longProduct(70000, 'x');
        QTest::newRow("a line of 70,000 bytes, fewer than seven fields")
            << EncodeLine(longProduct + "|R|", CodecKey()) + "\r\n" + AppendedLine
            << QList<RegistrationRecord>{RegistrationRecord{{longProduct, "R", "", "", "", "", ""}}, AbcRecord};
        QTest::newRow("more than seven fields")
            << EncodeLine("P|R|C|X|D|W|T|U|V|", CodecKey()) + "\r\n"
            << QList<RegistrationRecord>{RegistrationRecord{{"P", "R", "C", "X", "W", "D", "T"}}};
    }

    void load()
    {
        QFETCH(QByteArray, content);
        QFETCH(QList<RegistrationRecord>, records);
        QVERIFY(TestFiles::Write(m_path, content));
        QCOMPARE(ReadDatabaseFile(m_path), records);
    }

    // With the store's debug log on, every damaged line is named with its
    // file, line number and reason, and the good lines around it still load.
    void damagedLine_isLoggedWithFileLineAndReason()
    {
        QLoggingCategory::setFilterRules(u"korvane.store.debug=true"_s);
        QVERIFY(TestFiles::Write(m_path, AppendedLine + "\r\nnot hex\r\n" + AppendedLine));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(u"sdb1\\.ppd:3: damaged line: not hexadecimal"_s));
        QCOMPARE(ReadDatabaseFile(m_path).size(), 3);
        QLoggingCategory::setFilterRules(QString());
    }

    void loadMissingFile_isEmpty() { QVERIFY(ReadDatabaseFile(m_path).isEmpty()); }

    // Appended and rewritten lines mixed in one file; Windows-1252 bytes and
    // blanks kept; every field back in its own column.
    void writeThenLoad_givesTheSameRecords()
    {
        const QList<RegistrationRecord> records = {
            RegistrationRecord{{"Caf\xE9", "\x80uro", "\x99", "\xFF", "W1", "D1", "T1"}},
            RegistrationRecord{{"", "", "", "X2", "", "", ""}},
            RegistrationRecord{{" P3 ", "R3", "C3", "X3", "mail@host.example", "2024", "T3"}},
        };
        QVERIFY(AppendRecord(m_path, records[0]));
        QVERIFY(RewriteDatabase(m_path, m_backup, records.first(2)));
        QVERIFY(AppendRecord(m_path, records[2]));
        QCOMPARE(ReadDatabaseFile(m_path), records);
    }

    void rewriteEmptyList_leavesZeroBytesAndNoBackup()
    {
        QVERIFY(TestFiles::Write(m_path, AppendedLine));
        QVERIFY(RewriteDatabase(m_path, m_backup, {}));
        QCOMPARE(QFileInfo(m_path).size(), 0);
        QVERIFY(QFileInfo::exists(m_path));
        QVERIFY(!QFile::exists(m_backup));
    }

    void rewriteMissingFile_changesNothingOnDisk()
    {
        QVERIFY(!RewriteDatabase(m_path, m_backup, {AbcRecord}));
        QVERIFY(!QFile::exists(m_path));
        QVERIFY(!QFile::exists(m_backup));
    }

    void writes_keepFolderAndFilesPrivate()
    {
        const QString folder = m_folder.filePath(u"new/data"_s);
        const QString path = DatabaseFiles::DatabaseFilePath(folder, 2);
        QVERIFY(AppendRecord(path, AbcRecord));
        QVERIFY(RewriteDatabase(path, DatabaseFiles::BackupFilePath(folder, 2), {AbcRecord}));
        QCOMPARE(QFileInfo(folder).permissions(), OwnerOnly | QFile::ExeOwner | QFile::ExeUser);
        QCOMPARE(QFile::permissions(path), OwnerOnly);
    }

    // However the file ends, an added record never changes how the lines
    // before it load.
    void append_keepsEveryLineAsItLoaded_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("CR LF") << AppendedLine;
        QTest::newRow("no line end") << AppendedLine.chopped(2);
        QTest::newRow("lone CR") << AppendedLine.chopped(1);
        QTest::newRow("lone LF") << AppendedLine.chopped(2) + "\n";
        QTest::newRow("two CRs") << AppendedLine.chopped(2) + "\r\r";
        QTest::newRow("only a CR") << QByteArray("\r");
        QTest::newRow("damaged text") << AppendedLine + "not hex";
        QTest::newRow("cut inside a hex pair") << AppendedLine + AppendedLine.first(21);
        QTest::newRow("CR inside the last line") << AppendedLine + "2A0D\r110A";
    }

    void append_keepsEveryLineAsItLoaded()
    {
        QFETCH(QByteArray, content);
        QVERIFY(TestFiles::Write(m_path, content));
        const QList<RegistrationRecord> before = ReadDatabaseFile(m_path);
        QVERIFY(AppendRecord(m_path, AbcRecord));
        QCOMPARE(ReadDatabaseFile(m_path), before + QList<RegistrationRecord>{AbcRecord});
    }

    // Whatever the file holds, loading ends soon with at most a database's
    // worth of records, and says when it did not read everything.
    void load_isBounded_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<qint64>("sparseSize");
        QTest::addColumn<int>("records");
        QTest::addColumn<bool>("whole");
        const QByteArray shortLine = "0\n";
        QTest::newRow("the most records, then empty lines")
            << shortLine.repeated(32767) + QByteArray("\r\n").repeated(100) << qint64(0) << 32767 << true;
        QTest::newRow("one record too many") << shortLine.repeated(32768) << qint64(0) << 32767 << false;
        QTest::newRow("200 MB of damaged short lines")
            << shortLine.repeated(40000) << qint64(200'000'000) << 32767 << false;
        QTest::newRow("a line longer than any record") << QByteArray(2'000'000, 'A') << qint64(0) << 0 << false;
        QTest::newRow("200 MB without a line end") << QByteArray() << qint64(200'000'000) << 0 << false;
    }

    void load_isBounded()
    {
        QFETCH(QByteArray, content);
        QFETCH(qint64, sparseSize);
        QFETCH(int, records);
        QFETCH(bool, whole);
        QVERIFY(TestFiles::Write(m_path, content));
        if (sparseSize > 0)
            QVERIFY(QFile::resize(m_path, sparseSize));
        QElapsedTimer timer;
        timer.start();
        const DatabaseLoad load = LoadDatabaseFile(m_path);
        QVERIFY2(timer.elapsed() < 5000, "loading took too long");
        QCOMPARE(load.records.size(), records);
        QCOMPARE(load.whole, whole);
    }

    // The window cuts a failed append back while a reader may be in the
    // file: the reader gets fewer bytes, never a crash.
    void fileThatShrinksOrGrowsWhileRead_givesWhatItHolds()
    {
        const QByteArray lines = AppendedLine.repeated(20000);
        QVERIFY(TestFiles::Write(m_path, lines));
        const RegularFile opened(m_path);
        QVERIFY(QFile::resize(m_path, AppendedLine.size()));
        QCOMPARE(opened.ReadUpTo(lines.size()), AppendedLine);

        std::atomic<bool> reading = true;
        std::thread resizer([&] {
            for (qint64 size = 0; reading; size = (size + 77777) % (2 * lines.size()))
                QFile::resize(m_path, size);
        });
        for (int load = 0; load < 50; ++load) {
            const DatabaseLoad loaded = LoadDatabaseFile(m_path);
            QVERIFY(loaded.records.size() <= 2 * 20000);
        }
        reading = false;
        resizer.join();
    }

    void loadOfMoreBytesThanAnyDatabase_stopsEarly()
    {
        constexpr int LineCount = 17000;
        QVERIFY(TestFiles::Write(m_path, (QByteArray(4096, 'A') + "\r\n").repeated(LineCount)));
        const DatabaseLoad load = LoadDatabaseFile(m_path);
        QVERIFY(!load.whole);
        QVERIFY(load.records.size() > 0 && load.records.size() < LineCount);
    }

    void failedWrites_leaveTheDiskAsItWas()
    {
        QVERIFY(TestFiles::Write(m_path, AppendedLine));
        QList<RegistrationRecord> many(50, AbcRecord);
        {
            // A file size limit makes writes fail even for root, as a full
            // disk would.
            const FileSizeLimit limit(AppendedLine.size() + 10);
            QVERIFY(!RewriteDatabase(m_path, m_backup, many));
            QVERIFY(!AppendRecord(m_path, RegistrationRecord{{QByteArray(100, 'x'), "", "", "", "", "", ""}}));
        }
        QCOMPARE(TestFiles::Read(m_path), AppendedLine);
        // The backup of a failed rewrite stays, holding the old content.
        QCOMPARE(TestFiles::Read(m_backup), AppendedLine);
        QCOMPARE(QDir(m_folder.path()).entryList(QDir::Files), (QStringList{u"sdb1.bak"_s, u"sdb1.ppd"_s}));
    }
};

QTEST_GUILESS_MAIN(TestDatabaseFile)
#include "tst_databasefile.moc"
