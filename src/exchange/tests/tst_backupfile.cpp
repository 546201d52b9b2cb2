#include "exchange/backupfile.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Sizes = BackupFile::Sizes;
Q_DECLARE_METATYPE(Sizes)

class TestBackupFile : public QObject
{
    Q_OBJECT

private slots:
    void headThenReadHead_roundTrip_data()
    {
        QTest::addColumn<Sizes>("sizes");
        QTest::newRow("empty databases") << Sizes{0, 0, 0, 0};
        QTest::newRow("past the export limit") << Sizes{70000, 1, 0, 32768};
        QTest::newRow("largest size field") << Sizes{0xFFFFFFFF, 0xABCDEF, 0xFFFFFFFF, 9};
    }

    void headThenReadHead_roundTrip()
    {
        QFETCH(Sizes, sizes);
        const std::optional<QByteArray> head = BackupFile::Head(sizes);
        QVERIFY(head);
        QCOMPARE(head->size(), BackupFile::HeadLength);
        QVERIFY(head->startsWith("Tv..K-N....200........\0"));
        QString error;
        const std::optional<Sizes> read = BackupFile::ReadHead(*head, error);
        QVERIFY2(read, qPrintable(error));
        QVERIFY(*read == sizes);
    }

    void headOfADatabaseTooLarge_isNone() { QVERIFY(!BackupFile::Head(Sizes{0, qsizetype(0x100000000), 0, 0})); }

    void readHeadOfNoBackup_isRefusedWithTheReason_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QString>("reason");
        const QByteArray whole = *BackupFile::Head(Sizes{1, 2, 3, 4});
        const QString notStarting = u"not a Korvane backup: it does not start as one"_s;
        const QString badSizes = u"not a Korvane backup: its four sizes are not eight hexadecimal digits each"_s;
        QTest::newRow("another file") << QByteArray("PK\3\4 a zip file, long enough to hold a head, and more")
                                      << notStarting;
        QTest::newRow("empty") << QByteArray() << notStarting;
        QTest::newRow("cut in the magic text") << whole.first(5) << notStarting;
        QTest::newRow("cut in the sizes") << whole.chopped(1) << badSizes;
        QTest::newRow("letter past F") << QByteArray(whole).replace(23, 8, "0000000G") << badSizes;
        QTest::newRow("blank") << QByteArray(whole).replace(31, 8, " 0000001") << badSizes;
        QTest::newRow("sign") << QByteArray(whole).replace(39, 8, "+0000001") << badSizes;
        QTest::newRow("0x prefix") << QByteArray(whole).replace(47, 8, "0x000001") << badSizes;
    }

    void readHeadOfNoBackup_isRefusedWithTheReason()
    {
        QFETCH(QByteArray, head);
        QFETCH(QString, reason);
        QString error;
        QVERIFY(!BackupFile::ReadHead(head, error));
        QCOMPARE(error, reason);
    }
};

QTEST_GUILESS_MAIN(TestBackupFile)
#include "tst_backupfile.moc"
