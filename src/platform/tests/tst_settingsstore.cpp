#include "platform/desktopshell.h"
#include "platform/qsettingsstore.h"
#include "platform/settingvalues.h"

#include "testsupport/testfiles.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

class TestSettingsStore : public QObject
{
    Q_OBJECT

    static QString SettingsPath()
    {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Tessaly"_s, u"Korvane"_s).fileName();
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        // Whatever an earlier run left, a FIFO included, goes unread.
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/Tessaly"_s)
            .removeRecursively();
    }

    void readMissingKey_isEmpty()
    {
        QSettingsStore store;
        QCOMPARE(store.ReadSetting(u"Software\\Tessaly\\NoSuchProgram"_s, u"102"_s), QString());
    }

    void writeThenRead_roundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("word") << u"True"_s;
        QTest::newRow("number") << u"3"_s;
        QTest::newRow("empty") << QString();
    }

    void writeThenRead_roundTrip()
    {
        QFETCH(QString, text);
        QSettingsStore store;
        store.WriteSetting(SettingsKeyPath(), u"103"_s, text);
        QCOMPARE(store.ReadSetting(SettingsKeyPath(), u"103"_s), text);
        QCOMPARE(store.ReadSetting(SettingsKeyPath(), u"999"_s), QString());
    }

    // Whatever a user or another program left in Korvane.conf reads as text
    // or as nothing; it never breaks the read.
    void readRawFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("text") << QByteArray("[General]\n103=3\n") << u"3"_s;
        QTest::newRow("text with blanks") << QByteArray("[General]\n103= 2 \n") << u"2"_s;
        QTest::newRow("stored number") << QByteArray("[General]\n103=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n") << u"5"_s;
        QTest::newRow("list") << QByteArray("[General]\n103=1, 2\n") << QString();
        QTest::newRow("bytes") << QByteArray("[General]\n103=@ByteArray(3)\n") << QString();
        QTest::newRow("invalid") << QByteArray("[General]\n103=@Invalid()\n") << QString();
        QTest::newRow("broken section header") << QByteArray("[General\n103=3\n") << u"3"_s;
        QTest::newRow("binary garbage") << TestFiles::AllByteValues() << QString();
    }

    void readRawFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QVERIFY(TestFiles::Write(SettingsPath(), content));
        QCOMPARE(QSettingsStore().ReadSetting(SettingsKeyPath(), u"103"_s), expected);
    }

    // What stands at Korvane.conf when it is not a small regular file is
    // neither read nor written, and nothing waits for it.
    void notASmallFileAtTheSettingsPath_data()
    {
        QTest::addColumn<QString>("whatStands");
        QTest::newRow("FIFO") << u"fifo"_s;
        QTest::newRow("folder") << u"folder"_s;
        QTest::newRow("1 GiB file") << u"huge"_s;
    }

    void notASmallFileAtTheSettingsPath()
    {
        QFETCH(QString, whatStands);
        const QString path = SettingsPath();
        QDir(QFileInfo(path).path()).removeRecursively();
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        if (whatStands == u"fifo"_s) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (whatStands == u"folder"_s) {
            QVERIFY(QDir().mkdir(path));
        } else {
            QFile huge(path);
            QVERIFY(huge.open(QIODevice::WriteOnly) && huge.write("[General]\n103=3\n") > 0);
            QVERIFY(huge.resize(qint64(1) << 30));
        }
        QElapsedTimer timer;
        timer.start();
        QSettingsStore store;
        QCOMPARE(store.ReadSetting(SettingsKeyPath(), u"103"_s), QString());
        store.WriteSetting(SettingsKeyPath(), u"103"_s, u"2"_s);
        QVERIFY(timer.elapsed() < 1000);
        QCOMPARE(QFileInfo(path).isDir(), whatStands == u"folder"_s);
        QCOMPARE(QFileInfo(path).size() == qint64(1) << 30, whatStands == u"huge"_s);
        QDir(QFileInfo(path).path()).removeRecursively();
    }

    // A link at Korvane.conf is read through but replaced on a write, as the
    // export replaces a link at its container: the file it named is left as
    // it was.
    void linkAtTheSettingsPath_isReplacedNotWrittenThrough()
    {
        const QString path = SettingsPath();
        QDir(QFileInfo(path).path()).removeRecursively();
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath(u"shared.conf"_s);
        const QByteArray shared = "[General]\n102=True\n";
        QVERIFY(TestFiles::Write(target, shared));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(QFile::link(target, path));
        QSettingsStore store;
        QCOMPARE(store.ReadSetting(SettingsKeyPath(), u"102"_s), u"True"_s);
        store.WriteSetting(SettingsKeyPath(), u"103"_s, u"2"_s);
        QVERIFY(!QFileInfo(path).isSymLink());
        QCOMPARE(TestFiles::Read(target), shared);
        QCOMPARE(store.ReadSetting(SettingsKeyPath(), u"102"_s), u"True"_s);
        QCOMPARE(store.ReadSetting(SettingsKeyPath(), u"103"_s), u"2"_s);
        QVERIFY(TestFiles::IsOwnerOnly(path));
        QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{u"Korvane.conf"_s});
    }

    // A settings write killed half-way leaves its temporary file; the next
    // write removes it, and nothing else that merely looks like one.
    void writeSetting_removesOnlyOwnLeftovers()
    {
        const QString path = SettingsPath();
        QDir folder(QFileInfo(path).path());
        folder.removeRecursively();
        QVERIFY(QDir().mkpath(folder.filePath(u".korvane-tmp-abcdef"_s)));
        const QStringList lookAlikes{u"Korvane.conf.backup"_s, u"Korvane.conf.2024ab"_s, u".korvane-tmpX"_s};
        for (const QString &name : lookAlikes)
            QVERIFY(TestFiles::Write(folder.filePath(name), "user's own"));
        QVERIFY(TestFiles::Write(folder.filePath(u".korvane-tmp-Xy12Zq"_s), "[General]\n103=4\n"));
        QSettingsStore().WriteSetting(SettingsKeyPath(), u"103"_s, u"2"_s);
        QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
                 (QStringList{u".korvane-tmp-abcdef"_s, u".korvane-tmpX"_s, u"Korvane.conf"_s, u"Korvane.conf.2024ab"_s,
                              u"Korvane.conf.backup"_s}));
        for (const QString &name : lookAlikes)
            QCOMPARE(TestFiles::Read(folder.filePath(name)), QByteArray("user's own"));
        folder.removeRecursively();
    }

    void openerArgument_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("argument");
        QTest::newRow("address") << u"http://a.example/"_s << u"http://a.example/"_s;
        QTest::newRow("option-like") << u"--help"_s << u"./--help"_s;
        QTest::newRow("dash inside") << u"a-b"_s << u"a-b"_s;
        QTest::newRow("blank before dash") << u" -x"_s << u" -x"_s;
        QTest::newRow("empty") << QString() << QString();
    }

    void openerArgument()
    {
        QFETCH(QString, target);
        QFETCH(QString, argument);
        QCOMPARE(DesktopShell::OpenerArgument(target), argument);
    }

    void isOn_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("on");
        QTest::newRow("True") << u"True"_s << true;
        QTest::newRow("one") << u"1"_s << true;
        QTest::newRow("minus one") << u"-1"_s << true;
        QTest::newRow("leading blanks") << u"  7"_s << true;
        QTest::newRow("fraction") << u"0.5"_s << true;
        QTest::newRow("False") << u"False"_s << false;
        QTest::newRow("zero") << u"0"_s << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("lower-case true") << u"true"_s << false;
        QTest::newRow("arabic-indic digit") << u"\u0661"_s << false;
    }

    void isOn()
    {
        QFETCH(QString, text);
        QFETCH(bool, on);
        QCOMPARE(SettingValues::IsOn(text), on);
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
