#include "editing/databaseselection.h"
#include "testsupport/fakesettingsstore.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Pressed buttons as a string of four flags, "1000" for database 1 alone.
QString Pressed(const DatabaseSelection &selection)
{
    QString flags;
    for (int number = 1; number <= DatabaseFiles::Count; ++number)
        flags.append(selection.IsButtonPressed(number) ? u'1' : u'0');
    return flags;
}

QString Checked(const DatabaseSelection &selection)
{
    QString flags;
    for (int number = 1; number <= DatabaseFiles::Count; ++number)
        flags.append(selection.IsMenuChecked(number) ? u'1' : u'0');
    return flags;
}

} // namespace

class TestDatabaseSelection : public QObject
{
    Q_OBJECT

private slots:
    void restore_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("stem");
        QTest::addColumn<QString>("pressed");
        QTest::newRow("nothing stored") << QString() << u"sdb1"_s << u"1000"_s;
        QTest::newRow("three") << u"3"_s << u"sdb3"_s << u"0010"_s;
        QTest::newRow("three with blanks") << u" 3 "_s << u"sdb3"_s << u"0010"_s;
        QTest::newRow("four") << u"4"_s << u"sdb4"_s << u"0001"_s;
        QTest::newRow("out of range") << u"7"_s << u"sdb1"_s << u"1000"_s;
        QTest::newRow("zero") << u"0"_s << u"sdb1"_s << u"1000"_s;
        QTest::newRow("not a number") << u"tools"_s << u"sdb1"_s << u"1000"_s;
        QTest::newRow("path characters") << u"../3"_s << u"sdb1"_s << u"1000"_s;
    }

    void restore()
    {
        QFETCH(QString, stored);
        QFETCH(QString, stem);
        QFETCH(QString, pressed);
        FakeSettingsStore settings;
        if (!stored.isNull())
            settings.Set(u"103"_s, stored);
        DatabaseSelection selection(settings);
        QSignalSpy reloads(&selection, &DatabaseSelection::databaseSelected);
        selection.RestoreCurrentDatabase();
        QCOMPARE(selection.CurrentDatabaseStem(), stem);
        QCOMPARE(Pressed(selection), pressed);
        QCOMPARE(Checked(selection), u"0000"_s);
        QCOMPARE(settings.writeCount, 0);
        QCOMPARE(reloads.size(), 0);
    }

    // Each step is "t<n>" (a click on toolbar button n) or "m<n>" (menu
    // entry n), starting from a restored database 1.
    void switching_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("stem");
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<QString>("checked");
        QTest::newRow("toolbar 1 to 3") << QStringList{u"t3"_s} << u"sdb3"_s << u"0010"_s << u"0000"_s;
        QTest::newRow("pressed button clicked") << QStringList{u"t1"_s} << u"sdb1"_s << u"0000"_s << u"0000"_s;
        QTest::newRow("menu Work once") << QStringList{u"m1"_s} << u"sdb1"_s << u"1000"_s << u"1000"_s;
        QTest::newRow("menu Work twice") << QStringList{u"m1"_s, u"m1"_s} << u"sdb1"_s << u"1000"_s << u"0000"_s;
        QTest::newRow("menu then another menu") << QStringList{u"m2"_s, u"m4"_s} << u"sdb4"_s << u"0001"_s << u"0001"_s;
        QTest::newRow("menu then toolbar keeps the check")
            << QStringList{u"m2"_s, u"t3"_s} << u"sdb3"_s << u"0010"_s << u"0100"_s;
    }

    void switching()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, stem);
        QFETCH(QString, pressed);
        QFETCH(QString, checked);
        FakeSettingsStore settings;
        DatabaseSelection selection(settings);
        selection.RestoreCurrentDatabase();
        QSignalSpy reloads(&selection, &DatabaseSelection::databaseSelected);
        for (const QString &step : steps) {
            const int number = step.mid(1).toInt();
            if (step.startsWith(u't'))
                selection.ClickButton(number);
            else
                selection.ChooseFromMenu(number);
        }
        QCOMPARE(selection.CurrentDatabaseStem(), stem);
        QCOMPARE(Pressed(selection), pressed);
        QCOMPARE(Checked(selection), checked);
        QCOMPARE(settings.Get(u"103"_s), stem.mid(3));
        QCOMPARE(reloads.size(), steps.size());
    }
};

QTEST_GUILESS_MAIN(TestDatabaseSelection)
#include "tst_databaseselection.moc"
