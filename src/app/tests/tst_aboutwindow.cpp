#include "app/aboutwindow.h"

#include "testsupport/fakeshell.h"

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

    void webSiteLabel_opensProductSite()
    {
        FakeShell shell;
        AboutWindow about(shell);
        auto *label = about.findChild<QLabel *>(u"Label1"_s);
        QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
        QCOMPARE(shell.opened, QStringList{u"https://tessaly.example/Korvane/"_s});
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
