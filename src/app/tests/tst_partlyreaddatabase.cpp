#include "testprogram.h"
#include "testsupport/testfiles.h"

#include "store/linecodec.h"
#include "store/recordline.h"
#include "views/inputfield.h"

#include <QAction>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

// A database the window could not read whole: the window still starts, and
// replacing or removing a record changes the list only, never the file,
// which holds records the list lacks.
class TestPartlyReadDatabase : public QObject
{
    Q_OBJECT

private slots:
    void changes_stayInTheList_data()
    {
        QTest::addColumn<QString>("whatStands");
        QTest::addColumn<int>("rows");
        QTest::newRow("more records than the list holds") << u"records"_s << 32767;
        QTest::newRow("FIFO") << u"fifo"_s << 0;
        QTest::newRow("folder") << u"folder"_s << 0;
    }

    void changes_stayInTheList()
    {
        QFETCH(QString, whatStands);
        QFETCH(int, rows);
        TestProgram program;
        const QString path = DatabaseFiles::DatabaseFilePath(program.folders.DataFolder(), 1);
        QVERIFY(QDir().mkpath(program.folders.DataFolder()));
        if (whatStands == u"records") {
            const QByteArray line =
                EncodeLine(FormatRecordLine(TestProgram::Record("P"), LineBreak::Omit), CodecKey()) + "\r\n";
            QVERIFY(TestFiles::Write(path, line.repeated(rows + 1)));
        } else if (whatStands == u"fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            QVERIFY(QDir().mkdir(path));
        }
        // Reading a FIFO would wait for a writer; only a file's bytes count.
        const auto content = [&] { return whatStands == u"records" ? TestFiles::Read(path) : QByteArray(); };
        const QByteArray before = content();

        frmScrn &window = program.Start();
        QCOMPARE(window.Database().List().Count(), rows);
        if (rows > 0) {
            window.Database().List().SelectRow(1);
            window.Design().Text1[RecordForm::ProductField]->setText(u"P"_s);
            window.findChild<QAction *>(u"mnuRemove"_s)->trigger();
            QCOMPARE(window.Database().List().Count(), rows - 1);
        }
        window.Database().RewriteDatabase();

        QCOMPARE(content(), before);
        struct stat info = {};
        QCOMPARE(::lstat(QFile::encodeName(path).constData(), &info), 0);
        QCOMPARE(S_ISFIFO(info.st_mode), whatStands == u"fifo");
        QCOMPARE(S_ISDIR(info.st_mode), whatStands == u"folder");
        QCOMPARE(QDir(program.folders.DataFolder()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
                 QStringList{u"sdb1.ppd"_s});
    }
};

QTEST_MAIN(TestPartlyReadDatabase)
#include "tst_partlyreaddatabase.moc"
