#include "testprogram.h"

#include "views/recordlistview.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void start_restoresStoredSettingsAndWritesNothing_data()
    {
        QTest::addColumn<QString>("showGrid");
        QTest::addColumn<QString>("database");
        QTest::addColumn<bool>("gridOn");
        QTest::addColumn<int>("current");

        QTest::newRow("first run") << QString() << QString() << false << 1;
        QTest::newRow("grid True, database 3") << u"True"_s << u"3"_s << true << 3;
        QTest::newRow("grid -1, database 4") << u"-1"_s << u"4"_s << true << 4;
        QTest::newRow("grid 0, database with blanks") << u"0"_s << u" 2 "_s << false << 2;
    }

    void start_restoresStoredSettingsAndWritesNothing()
    {
        QFETCH(QString, showGrid);
        QFETCH(QString, database);
        QFETCH(bool, gridOn);
        QFETCH(int, current);
        TestProgram program;
        const bool firstRun = showGrid.isNull();
        if (!firstRun) {
            program.settings.Set(u"102"_s, showGrid);
            program.settings.Set(u"103"_s, database);
            for (int number = 1; number <= 4; ++number)
                program.WriteDatabase(number, {TestProgram::Record("product " + QByteArray::number(number))});
        }
        frmScrn &window = program.Start();

        QCOMPARE(window.Design().ListView1->GridLines(), gridOn);
        QCOMPARE(window.Menus().mnulines->isChecked(), gridOn);
        QCOMPARE(window.Selection().CurrentDatabaseStem(), u"sdb%1"_s.arg(current));
        QCOMPARE(window.Database().List().Rows(),
                 firstRun ? QList<RegistrationRecord>()
                          : QList{TestProgram::Record("product " + QByteArray::number(current))});
        QCOMPARE(program.settings.writeCount, 0);
        QCOMPARE(QFileInfo::exists(program.folders.DataFolder()), !firstRun);
    }

    void quit_closesEveryWindowAndChangesNoFile_data()
    {
        QTest::addColumn<bool>("byCloseControl");
        QTest::newRow("Quit entry, About hidden") << false;
        QTest::newRow("close control, About shown") << true;
    }

    void quit_closesEveryWindowAndChangesNoFile()
    {
        QFETCH(bool, byCloseControl);
        TestProgram program;
        const QList<RegistrationRecord> records{TestProgram::Record("Alpha"), TestProgram::Record("Beta")};
        program.WriteDatabase(1, records);
        frmScrn &window = program.Start();
        if (byCloseControl)
            window.Menus().mnuAbout->trigger();
        QPointer<AboutWindow> about = window.About();

        // The program ends when its event loop does: run it, quit from inside.
        QTimer timeLimit;
        timeLimit.callOnTimeout(qApp, &QCoreApplication::quit);
        timeLimit.start(5000);
        QTimer::singleShot(0, &window,
                           [&] { byCloseControl ? void(window.close()) : window.Menus().mnuQuit->trigger(); });
        QApplication::exec();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        QVERIFY2(timeLimit.isActive(), "the program did not end");
        QVERIFY(!program.window);
        QVERIFY(!about);
        for (QWidget *widget : QApplication::topLevelWidgets())
            QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
        QFile file(DatabaseFiles::DatabaseFilePath(program.folders.DataFolder(), 1));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), FormatDatabase(records));
        QCOMPARE(program.settings.writeCount, 0);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
