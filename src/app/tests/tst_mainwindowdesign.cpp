#include "testprogram.h"

#include "editing/view/inputfield.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// Tests run offscreen at 96 dots per inch: 15 twips a pixel.
int Px(int twips)
{
    return qRound(twips / 15.0);
}

} // namespace

// The main window as designed: elements at their places with their texts,
// the toolbar buttons and the menu tree.
class TestMainWindowDesign : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void element_isAtDesignedRectangle_data();
    void element_isAtDesignedRectangle();
    void field_hasLabelCaptionTipAndName_data();
    void field_hasLabelCaptionTipAndName();
    void toolbarButton_hasTipAsName_data();
    void toolbarButton_hasTipAsName();
    void menuEntry_isAsDesigned_data();
    void menuEntry_isAsDesigned();

private:
    frmScrn &Window() { return *m_program->window; }
    QWidget *Element(const QString &name) { return Window().findChild<QWidget *>(name); }

    std::unique_ptr<TestProgram> m_program;
};

void TestMainWindowDesign::initTestCase()
{
    m_program = std::make_unique<TestProgram>();
    m_program->Start();
}

void TestMainWindowDesign::cleanupTestCase()
{
    m_program.reset();
}

void TestMainWindowDesign::element_isAtDesignedRectangle_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");

    QTest::newRow("Frame4") << u"Frame4"_s << QRect(0, 285, 2580, 780);
    QTest::newRow("Toolbar1") << u"Toolbar1"_s << QRect(195, 120, 2325, 570);
    QTest::newRow("Toolbar2") << u"Toolbar2"_s << QRect(5800, 105, 1815, 360);
    QTest::newRow("Label1(0)") << u"Label1_0"_s << QRect(2775, 465, 3255, 195);
    QTest::newRow("Text1(0)") << u"Text1_0"_s << QRect(2805, 705, 6330, 270);
    QTest::newRow("Label1(1)") << u"Label1_1"_s << QRect(195, 810, 2205, 210);
    QTest::newRow("Text1(1)") << u"Text1_1"_s << QRect(210, 1065, 2190, 270);
    QTest::newRow("Label1(2)") << u"Label1_2"_s << QRect(2895, 810, 2250, 210);
    QTest::newRow("Text1(2)") << u"Text1_2"_s << QRect(2910, 1065, 2235, 270);
    QTest::newRow("Label1(4)") << u"Label1_4"_s << QRect(5415, 810, 2040, 210);
    QTest::newRow("Text1(4)") << u"Text1_4"_s << QRect(5445, 1065, 3885, 270);
    QTest::newRow("Label1(3)") << u"Label1_3"_s << QRect(195, 1425, 1920, 210);
    QTest::newRow("Text1(5)") << u"Text1_5"_s << QRect(210, 1680, 2190, 270);
    QTest::newRow("Label1(5)") << u"Label1_5"_s << QRect(2895, 1425, 2700, 210);
    QTest::newRow("Text1(3)") << u"Text1_3"_s << QRect(2910, 1680, 6420, 270);
    QTest::newRow("Shape1(0)") << u"Shape1_0"_s << QRect(2715, 660, 6615, 345);
    QTest::newRow("Shape1(1)") << u"Shape1_1"_s << QRect(120, 1020, 2370, 345);
    QTest::newRow("Shape1(2)") << u"Shape1_2"_s << QRect(2835, 1020, 2415, 345);
    QTest::newRow("Shape1(4)") << u"Shape1_4"_s << QRect(5370, 1020, 4080, 345);
    QTest::newRow("Shape1(3)") << u"Shape1_3"_s << QRect(2835, 1635, 6615, 345);
    QTest::newRow("Shape1(8)") << u"Shape1_8"_s << QRect(120, 1635, 2370, 345);
}

void TestMainWindowDesign::element_isAtDesignedRectangle()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QWidget *element = Element(name);
    QVERIFY(element);
    QCOMPARE(element->geometry(), QRect(Px(twips.x()), Px(twips.y()), Px(twips.width()), Px(twips.height())));
}

void TestMainWindowDesign::field_hasLabelCaptionTipAndName_data()
{
    QTest::addColumn<int>("fieldIndex");
    QTest::addColumn<int>("labelIndex");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("toolTip");

    QTest::newRow("Web Contact") << 0 << 0 << u"Web Contact (Email, URL)"_s << u"Provider (licenser) web site, or email address"_s;
    QTest::newRow("Product") << 1 << 1 << u"Product,Software Name"_s << u"or Software Title"_s;
    QTest::newRow("Registrant") << 2 << 2 << u"Registered to"_s << u"Name of Registrant (licensed to)"_s;
    QTest::newRow("Customer ID") << 4 << 4 << u"Customer #, Product ID"_s << u"Usually comes with the software"_s;
    QTest::newRow("Registration Date") << 5 << 3 << u"Registration Date"_s << u"Effective date"_s;
    QTest::newRow("Registration") << 3 << 5 << u"Registration #, Code"_s << u"Code to enable product"_s;
}

void TestMainWindowDesign::field_hasLabelCaptionTipAndName()
{
    QFETCH(int, fieldIndex);
    QFETCH(int, labelIndex);
    QFETCH(QString, caption);
    QFETCH(QString, toolTip);
    const QLabel *label = Window().Design().Label1[labelIndex];
    const InputField *field = Window().Design().Text1[fieldIndex];
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->toolTip(), toolTip);
    QCOMPARE(field->accessibleName(), caption);
    QCOMPARE(field->Index(), fieldIndex);
    QCOMPARE(field->font().family(), u"Tahoma"_s);
    QCOMPARE(field->font().pointSizeF(), 8.25);
}

void TestMainWindowDesign::toolbarButton_hasTipAsName_data()
{
    QTest::addColumn<QString>("toolbar");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<int>("iconSize");

    QTest::newRow("add") << u"Toolbar1"_s << 1 << u"Add Record"_s << 32;
    QTest::newRow("remove") << u"Toolbar1"_s << 2 << u"Remove Selected Record"_s << 32;
    QTest::newRow("replace") << u"Toolbar1"_s << 3 << u"Replace Selected Record"_s << 32;
    QTest::newRow("clear") << u"Toolbar1"_s << 4 << u"Clear Input Fields"_s << 32;
    QTest::newRow("work") << u"Toolbar2"_s << 1 << u"Work applications"_s << 16;
    QTest::newRow("game") << u"Toolbar2"_s << 2 << u"Games"_s << 16;
    QTest::newRow("tools") << u"Toolbar2"_s << 3 << u"Tools"_s << 16;
    QTest::newRow("misc") << u"Toolbar2"_s << 4 << u"Miscelaneous"_s << 16;
    QTest::newRow("main menu") << u"Toolbar2"_s << 5 << u"Main Menu"_s << 16;
}

void TestMainWindowDesign::toolbarButton_hasTipAsName()
{
    QFETCH(QString, toolbar);
    QFETCH(int, position);
    QFETCH(QString, toolTip);
    QFETCH(int, iconSize);
    const QList<QToolButton *> buttons = Element(toolbar)->findChildren<QToolButton *>();
    QCOMPARE(buttons.size(), toolbar == u"Toolbar1"_s ? 4 : 5);
    const QToolButton *button = buttons.at(position - 1);
    QVERIFY(button->isVisible());
    QCOMPARE(button->toolTip(), toolTip);
    QCOMPARE(button->accessibleName(), toolTip);
    QCOMPARE(button->iconSize(), QSize(iconSize, iconSize));
    QVERIFY(!button->icon().isNull());
    QVERIFY(Element(toolbar)->rect().contains(button->geometry()));
}

void TestMainWindowDesign::menuEntry_isAsDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");

    QTest::newRow("mnuAdd") << u"mnuAdd"_s << u"bMenu"_s << u"Add Record"_s << QKeySequence(u"Ctrl+C"_s);
    QTest::newRow("mnuReplace") << u"mnuReplace"_s << u"bMenu"_s << u"Replace Record"_s << QKeySequence(u"Ctrl+R"_s);
    QTest::newRow("mnuRemove") << u"mnuRemove"_s << u"bMenu"_s << u"Remove Record"_s << QKeySequence();
    QTest::newRow("mnuclearfields") << u"mnuclearfields"_s << u"bMenu"_s << u"Clear fields"_s << QKeySequence();
    QTest::newRow("mnuWorkDB") << u"mnuWorkDB"_s << u"mnuSelectUse"_s << u"Work"_s << QKeySequence(u"Ctrl+W"_s);
    QTest::newRow("mnuToolsDB") << u"mnuToolsDB"_s << u"mnuSelectUse"_s << u"Tools"_s << QKeySequence(u"Ctrl+T"_s);
    QTest::newRow("mnuGameDB") << u"mnuGameDB"_s << u"mnuSelectUse"_s << u"Game"_s << QKeySequence(u"Ctrl+G"_s);
    QTest::newRow("mnuMiscDB") << u"mnuMiscDB"_s << u"mnuSelectUse"_s << u"Misc"_s << QKeySequence(u"Ctrl+M"_s);
    QTest::newRow("mnuExportDBmnuB") << u"mnuExportDBmnuB"_s << u"mnuSelectManageDB"_s << u"Export"_s << QKeySequence();
    QTest::newRow("mnuImportDBmnuB") << u"mnuImportDBmnuB"_s << u"mnuSelectManageDB"_s << u"Import"_s << QKeySequence();
    QTest::newRow("mnuRecalRegMnuB") << u"mnuRecalRegMnuB"_s << u"mnuFields"_s << u"Recall Registrant"_s << QKeySequence();
    QTest::newRow("mnuAboutB") << u"mnuAboutB"_s << u"mnuSoftware"_s << u"About"_s << QKeySequence();
    QTest::newRow("mnuGotoWeb") << u"mnuGotoWeb"_s << u"mnuSoftware"_s << u"Go to Web Site"_s << QKeySequence();
    QTest::newRow("mnuBHelp") << u"mnuBHelp"_s << u"mnuSoftware"_s << u"Help"_s << QKeySequence();
    QTest::newRow("mnuQuitB") << u"mnuQuitB"_s << u"mnuSoftware"_s << u"Quit"_s << QKeySequence();
    QTest::newRow("mnuRetainUser") << u"mnuRetainUser"_s << u"Tmenu"_s << u"Recall Registrant"_s << QKeySequence();
    QTest::newRow("mnuCopyURL") << u"mnuCopyURL"_s << u"Tcopy"_s << u"Web Contact"_s << QKeySequence(u"Ctrl+A"_s);
    QTest::newRow("mnuCopyUser") << u"mnuCopyUser"_s << u"Tcopy"_s << u"Registrant"_s << QKeySequence(u"Ctrl+U"_s);
    QTest::newRow("mnuCopyPass") << u"mnuCopyPass"_s << u"Tcopy"_s << u"Customer ID  "_s << QKeySequence(u"Ctrl+P"_s);
    QTest::newRow("mnuCopyREg") << u"mnuCopyREg"_s << u"Tcopy"_s << u"Registration"_s << QKeySequence();
    QTest::newRow("mnuExportDB") << u"mnuExportDB"_s << u"TDB"_s << u"Export         "_s << QKeySequence();
    QTest::newRow("mnuImportDB") << u"mnuImportDB"_s << u"TDB"_s << u"Import"_s << QKeySequence();
    QTest::newRow("mnuHelp") << u"mnuHelp"_s << u"Tmenu"_s << u"Help"_s << QKeySequence();
    QTest::newRow("mnuAbout") << u"mnuAbout"_s << u"Tmenu"_s << u"About"_s << QKeySequence();
    QTest::newRow("mnuQuit") << u"mnuQuit"_s << u"Tmenu"_s << u"Quit"_s << QKeySequence();
    QTest::newRow("mnulines") << u"mnulines"_s << u"Tother"_s << u"Show grid"_s << QKeySequence();
}

void TestMainWindowDesign::menuEntry_isAsDesigned()
{
    QFETCH(QString, name);
    QFETCH(QString, menu);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    const QMenu *container = Window().findChild<QMenu *>(menu);
    QVERIFY(container);
    const auto entries = container->actions();
    const auto entry = std::find_if(entries.cbegin(), entries.cend(), [&](QAction *a) { return a->objectName() == name; });
    QVERIFY(entry != entries.cend());
    QCOMPARE((*entry)->text(), caption);
    QCOMPARE((*entry)->shortcut(), shortcut);
}

QTEST_MAIN(TestMainWindowDesign)
#include "tst_mainwindowdesign.moc"
