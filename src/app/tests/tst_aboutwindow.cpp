#include "app/aboutwindow.h"

#include "testsupport/fakeshell.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestAboutWindow : public QObject
{
    Q_OBJECT

private slots:
    void informationText_isSevenExactLines()
    {
        FakeShell shell;
        AboutWindow about(shell);
        QCOMPARE(about.InformationText(),
                 u"Application name: Korvane\r\n"
                 "Use for: Registration and serial number storage\r\n"
                 "Version 2.0.0\r\n"
                 "Korvane is made and published by Tessaly \r\n"
                 "web home: https://tessaly.example/Korvane\r\n"
                 "\r\n"
                 "Press the Close button to close this screen, the Go to Website button to open a browser "
                 "to check for updates. For support visit: https://tessaly.example/support/"_s);
    }

    void webLinks_openByClickAndByKey_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<int>("key"); // 0: a click
        QTest::addColumn<QString>("opened");
        const QString site = u"https://tessaly.example/Korvane/"_s;
        const QString home = u"https://tessaly.example/"_s;
        QTest::newRow("web site, click") << u"Label1"_s << 0 << site;
        QTest::newRow("web site, Return") << u"Label1"_s << int(Qt::Key_Return) << site;
        QTest::newRow("home page, Enter") << u"lblDisclaimer"_s << int(Qt::Key_Enter) << home;
        QTest::newRow("home page, Space") << u"lblDisclaimer"_s << int(Qt::Key_Space) << home;
        QTest::newRow("home page, click") << u"lblDisclaimer"_s << 0 << home;
    }

    void webLinks_openByClickAndByKey()
    {
        QFETCH(QString, link);
        QFETCH(int, key);
        QFETCH(QString, opened);
        FakeShell shell;
        AboutWindow about(shell);
        auto *label = about.findChild<QLabel *>(link);
        QVERIFY(label->focusPolicy() & Qt::TabFocus);
        QCOMPARE(QAccessible::queryAccessibleInterface(label)->role(), QAccessible::Link);
        if (key)
            QTest::keyClick(label, Qt::Key(key));
        else
            QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
        QCOMPARE(shell.opened, QStringList{opened});
    }

    void sysInfo_showsMessageOnlyWithoutTool_data()
    {
        QTest::addColumn<bool>("hasTool");
        QTest::addColumn<QString>("message"); // caption|text
        QTest::newRow("without tool") << false << u"Korvane|System Information Is Unavailable At This Time"_s;
        QTest::newRow("with tool") << true << QString();
    }

    void sysInfo_showsMessageOnlyWithoutTool()
    {
        QFETCH(bool, hasTool);
        QFETCH(QString, message);
        FakeShell shell;
        shell.hasSystemInformation = hasTool;
        AboutWindow about(shell);
        QString shown;
        QTimer::singleShot(0, &about, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown = box->windowTitle() + u'|' + box->text();
                box->accept();
            }
        });
        about.StartSysInfo();
        QCOMPARE(shell.systemInformationStarts, 1);
        QCOMPARE(shown, message);
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"
