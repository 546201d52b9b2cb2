#include "platform/qsettingsstore.h"
#include "platform/settingvalues.h"

#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

class TestSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

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
