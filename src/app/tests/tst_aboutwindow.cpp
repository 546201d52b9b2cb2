#include "app/aboutwindow.h"

#include "fakeshell.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestAboutWindow : public QObject
{
    Q_OBJECT

private slots:
    void load_setsCaptionAndLabels();
    void load_informationTextIsSevenExactLines();
    void frame_isFixedWithoutMinimiseOrMaximise();
    void webLinks_openTheirAddresses_data();
    void webLinks_openTheirAddresses();
    void webLink_rightClickOpensNothing();
    void sysInfo_withoutTool_showsMessage();
    void sysInfo_withTool_showsNoMessage();
    void closeButton_closesWindow();
};

void TestAboutWindow::load_setsCaptionAndLabels()
{
    FakeShell shell;
    AboutWindow about(shell);
    QCOMPARE(about.windowTitle(), u"About Korvane"_s);
    QCOMPARE(about.findChild<QLabel *>(u"lblTitle"_s)->text(), u"Korvane"_s);
    QCOMPARE(about.findChild<QLabel *>(u"lblVersion"_s)->text(), u"Version 2.0.0"_s);
    QCOMPARE(about.findChild<QLabel *>(u"lblDescription"_s)->text(), u"Registration and serial number storage"_s);
    QCOMPARE(about.findChild<QLabel *>(u"Label1"_s)->text(), u"Korvane web site"_s);
    QCOMPARE(about.findChild<QLabel *>(u"lblDisclaimer"_s)->text(), u"https://tessaly.example/"_s);
    QCOMPARE(about.findChild<QPushButton *>(u"cmdSysInfo"_s)->text(), u"&System Info..."_s);
}

void TestAboutWindow::load_informationTextIsSevenExactLines()
{
    FakeShell shell;
    AboutWindow about(shell);
    const QStringList lines = about.InformationText().split(u"\r\n"_s);
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines.at(0), u"Application name: Korvane"_s);
    QCOMPARE(lines.at(1), u"Use for: Registration and serial number storage"_s);
    QCOMPARE(lines.at(2), u"Version 2.0.0"_s);
    QVERIFY(lines.at(3).contains(u"Tessaly"_s));
    QVERIFY(lines.at(3).endsWith(u' '));
    QCOMPARE(lines.at(4), u"web home: https://tessaly.example/Korvane"_s);
    QVERIFY(lines.at(5).isEmpty());
    QCOMPARE(lines.at(6), u"Press the Close button to close this screen, the Go to Website button to open a browser "
                          "to check for updates. For support visit: https://tessaly.example/support/"_s);
    QCOMPARE(about.findChild<QPlainTextEdit *>(u"Text1"_s)->document()->blockCount(), 7);
}

void TestAboutWindow::frame_isFixedWithoutMinimiseOrMaximise()
{
    FakeShell shell;
    AboutWindow about(shell);
    QVERIFY(!about.parent());
    QCOMPARE(about.minimumSize(), about.maximumSize());
    QVERIFY(!about.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!about.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!about.isModal());
}

void TestAboutWindow::webLinks_openTheirAddresses_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("target");
    QTest::newRow("web site label") << u"Label1"_s << u"https://tessaly.example/Korvane/"_s;
    QTest::newRow("Go to Website button") << u"Command1"_s << u"https://tessaly.example/Korvane/"_s;
    QTest::newRow("maker home label") << u"lblDisclaimer"_s << u"https://tessaly.example/"_s;
}

void TestAboutWindow::webLinks_openTheirAddresses()
{
    QFETCH(QString, control);
    QFETCH(QString, target);
    FakeShell shell;
    AboutWindow about(shell);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto *widget = about.findChild<QWidget *>(control);

    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());

    QCOMPARE(shell.opened, QStringList{target});
}

void TestAboutWindow::webLink_rightClickOpensNothing()
{
    FakeShell shell;
    AboutWindow about(shell);
    about.show();
    auto *label = about.findChild<QLabel *>(u"Label1"_s);
    QTest::mouseClick(label, Qt::RightButton, {}, label->rect().center());
    QVERIFY(shell.opened.isEmpty());
}

void TestAboutWindow::sysInfo_withoutTool_showsMessage()
{
    FakeShell shell;
    AboutWindow about(shell);
    about.show();
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Critical;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->accept();
    });

    QTest::mouseClick(about.findChild<QPushButton *>(u"cmdSysInfo"_s), Qt::LeftButton);

    QCOMPARE(shell.systemInformationStarts, 1);
    QCOMPARE(caption, u"Korvane"_s);
    QCOMPARE(text, u"System Information Is Unavailable At This Time"_s);
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TestAboutWindow::sysInfo_withTool_showsNoMessage()
{
    FakeShell shell;
    shell.hasSystemInformation = true;
    AboutWindow about(shell);
    about.StartSysInfo();
    QCOMPARE(shell.systemInformationStarts, 1);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestAboutWindow::closeButton_closesWindow()
{
    FakeShell shell;
    AboutWindow about(shell);
    about.show();
    QTest::mouseClick(about.findChild<QPushButton *>(u"cmdOK"_s), Qt::LeftButton);
    QVERIFY(!about.isVisible());
}

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"
