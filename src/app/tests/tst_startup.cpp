#include "testprogram.h"

#include "app/splashwindow.h"
#include "editing/view/recordlistview.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void splash_showsVersionAtDesignedSize();
    void splash_waitEndsWhenTimerFires();
    void firstRun_usesDefaultsAndWritesNothing();
    void storedSettings_areRestored_data();
    void storedSettings_areRestored();
    void start_loadsAboutWindowHiddenWithProgramIcon();
    void quitProgram_closesEveryWindowAndSavesNothing();
    void closeControl_endsProgramLikeQuit();
};

void TestStartup::splash_showsVersionAtDesignedSize()
{
    SplashWindow splash(0ms);
    QCOMPARE(splash.findChild<QLabel *>(u"Label1"_s)->text(), u"v2.0"_s);
    QCOMPARE(splash.size(), QSize(366, 252));
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
}

void TestStartup::splash_waitEndsWhenTimerFires()
{
    SplashWindow splash(200ms);
    splash.show();
    QElapsedTimer waited;
    waited.start();
    splash.WaitForTimer();
    QVERIFY2(waited.elapsed() >= 190, qPrintable(QString::number(waited.elapsed())));
}

void TestStartup::firstRun_usesDefaultsAndWritesNothing()
{
    TestProgram program;
    frmScrn &window = program.Start();

    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), u"Korvane"_s);
    QVERIFY(!window.Design().ListView1->GridLines());
    QVERIFY(!window.Menus().mnulines->isChecked());
    QVERIFY(window.Menus().mnuRetainUser->isChecked());
    QCOMPARE(window.Selection().CurrentDatabaseStem(), u"sdb1"_s);
    const QList<QAction *> &buttons = window.Design().Toolbar2Buttons;
    QCOMPARE(QList<bool>({buttons[0]->isChecked(), buttons[1]->isChecked(), buttons[2]->isChecked(), buttons[3]->isChecked()}),
             QList<bool>({true, false, false, false}));
    for (int number = 1; number <= 4; ++number)
        QVERIFY(!window.Menus().DatabaseEntry(number)->isChecked());
    QCOMPARE(window.Database().List().Count(), 0);
    for (int index = 0; index < RecordForm::FieldCount; ++index)
        QVERIFY(window.FieldText(index).isEmpty());

    QCOMPARE(program.settings.writeCount, 0);
    QVERIFY(!QFileInfo::exists(program.folders.DataFolder()));
}

void TestStartup::storedSettings_areRestored_data()
{
    QTest::addColumn<QString>("showGrid");
    QTest::addColumn<QString>("database");
    QTest::addColumn<bool>("gridOn");
    QTest::addColumn<int>("pressedButton");

    QTest::newRow("grid True, database 3") << u"True"_s << u"3"_s << true << 3;
    QTest::newRow("grid False, database with blanks") << u"False"_s << u" 3 "_s << false << 3;
    QTest::newRow("grid 0, no database") << u"0"_s << QString() << false << 1;
    QTest::newRow("grid -1, database 4") << u"-1"_s << u"4"_s << true << 4;
    QTest::newRow("grid true in lower case") << u"true"_s << u"2"_s << false << 2;
}

void TestStartup::storedSettings_areRestored()
{
    QFETCH(QString, showGrid);
    QFETCH(QString, database);
    QFETCH(bool, gridOn);
    QFETCH(int, pressedButton);

    TestProgram program;
    if (!showGrid.isNull())
        program.settings.Set(u"102"_s, showGrid);
    if (!database.isNull())
        program.settings.Set(u"103"_s, database);
    for (int number = 1; number <= 4; ++number)
        program.WriteDatabase(number, {TestProgram::Record("product of " + QByteArray::number(number))});
    frmScrn &window = program.Start();

    QCOMPARE(window.Design().ListView1->GridLines(), gridOn);
    QCOMPARE(window.Menus().mnulines->isChecked(), gridOn);
    for (int number = 1; number <= 4; ++number)
        QCOMPARE(window.Design().Toolbar2Buttons[number - 1]->isChecked(), number == pressedButton);
    QCOMPARE(window.Database().List().Count(), 1);
    QCOMPARE(window.Database().List().RowAt(1)[RegistrationRecord::Product], "product of " + QByteArray::number(pressedButton));
    QCOMPARE(program.settings.writeCount, 0);
}

void TestStartup::start_loadsAboutWindowHiddenWithProgramIcon()
{
    TestProgram program;
    frmScrn &window = program.Start();

    QVERIFY(window.About());
    QVERIFY(!window.About()->isVisible());
    QVERIFY(!window.windowIcon().isNull());
    QCOMPARE(window.windowIcon().cacheKey(), window.About()->windowIcon().cacheKey());
}

void TestStartup::quitProgram_closesEveryWindowAndSavesNothing()
{
    TestProgram program;
    program.WriteDatabase(1, {TestProgram::Record("Alpha"), TestProgram::Record("Beta")});
    const QString path = DatabaseFiles::DatabaseFilePath(program.folders.DataFolder(), 1);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    frmScrn &window = program.Start();
    QCOMPARE(window.Database().List().Count(), 2);
    QPointer<AboutWindow> about = window.About();
    bool listEmptied = false;
    bool programEnded = true;

    // The program ends when its event loop does: run it, quit from inside.
    QTimer::singleShot(0, &window, [&] {
        window.Menus().mnuQuit->trigger();
        listEmptied = window.Database().List().Count() == 0;
    });
    QTimer::singleShot(5000, qApp, [&] {
        programEnded = false;
        QCoreApplication::quit();
    });
    QApplication::exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QVERIFY(listEmptied);
    QVERIFY(programEnded);

    QVERIFY(!program.window);
    QVERIFY(!about);
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QCOMPARE(program.settings.writeCount, 0);
}

void TestStartup::closeControl_endsProgramLikeQuit()
{
    TestProgram program;
    frmScrn &window = program.Start();
    window.Menus().mnuAbout->trigger();
    QPointer<AboutWindow> about = window.About();
    QVERIFY(about->isVisible());

    QVERIFY(window.close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QVERIFY(!program.window);
    QVERIFY(!about);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
