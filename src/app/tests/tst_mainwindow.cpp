#include "testprogram.h"

#include "app/linewidget.h"
#include "app/shapewidget.h"
#include "editing/view/inputfield.h"
#include "editing/view/recordlistview.h"
#include "editing/view/twips.h"

#include <QAction>
#include <QClipboard>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Tests run offscreen at 96 dots per inch: 15 twips a pixel.
int Px(int twips)
{
    return qRound(twips / 15.0);
}

} // namespace

// The main window's keys, the Show grid command and the layout rules.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void altRelease_flipsTheFourMenus_data();
    void altRelease_flipsTheFourMenus();
    void menuBarShortcut_actsOnlyWhileBarShown();
    void editingKey_inField_goesToField();
    void popupShortcut_actsOnlyWhilePopupOpen();
    void f1Release_inField_opensHelpPage();
    void showGrid_twice_flipsGridAndStoresIt();
    void layout_followsClientSize_data();
    void layout_followsClientSize();
    void layout_tooLow_stopsBeforeWidths_data();
    void layout_tooLow_stopsBeforeWidths();

private:
    frmScrn &Window() { return *m_program->window; }
    void ResizeClient(int widthTwips, int heightTwips);

    std::unique_ptr<TestProgram> m_program;
};

void TestMainWindow::init()
{
    m_program = std::make_unique<TestProgram>();
    m_program->Start();
    QVERIFY(QTest::qWaitForWindowActive(&Window()));
}

void TestMainWindow::cleanup()
{
    m_program.reset();
}

void TestMainWindow::ResizeClient(int widthTwips, int heightTwips)
{
    const QSize client(TwipsToPixels(widthTwips, &Window()), TwipsToPixels(heightTwips, &Window()));
    Window().resize(client);
    QTRY_COMPARE(Window().centralWidget()->size(), client);
}

void TestMainWindow::altRelease_flipsTheFourMenus_data()
{
    QTest::addColumn<int>("releases");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("shown");

    QTest::newRow("none") << 0 << Qt::KeyboardModifiers() << false;
    QTest::newRow("one") << 1 << Qt::KeyboardModifiers() << true;
    QTest::newRow("two") << 2 << Qt::KeyboardModifiers() << false;
    QTest::newRow("three") << 3 << Qt::KeyboardModifiers() << true;
    QTest::newRow("one with Ctrl held") << 1 << Qt::KeyboardModifiers(Qt::ControlModifier) << true;
}

void TestMainWindow::altRelease_flipsTheFourMenus()
{
    QFETCH(int, releases);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, shown);
    Window().Design().Text1[RecordForm::ProductField]->setFocus();
    for (int i = 0; i < releases; ++i)
        QTest::keyRelease(Window().windowHandle(), Qt::Key_Alt, modifiers);
    for (const QString &name : {u"bMenu"_s, u"mnuDatabases"_s, u"mnuFields"_s, u"mnuSoftware"_s})
        QCOMPARE(Window().findChild<QMenu *>(name)->menuAction()->isVisible(), shown);
    QCOMPARE(Window().menuBar()->isVisible(), shown);
}

void TestMainWindow::menuBarShortcut_actsOnlyWhileBarShown()
{
    const ScreenMenus &menus = Window().Menus();
    QTest::keyClick(Window().windowHandle(), Qt::Key_W, Qt::ControlModifier);
    QVERIFY(!menus.mnuWorkDB->isChecked());

    QTest::keyRelease(Window().windowHandle(), Qt::Key_Alt);
    QTest::keyClick(Window().windowHandle(), Qt::Key_W, Qt::ControlModifier);
    QVERIFY(menus.mnuWorkDB->isChecked());
}

void TestMainWindow::editingKey_inField_goesToField()
{
    QTest::keyRelease(Window().windowHandle(), Qt::Key_Alt);
    InputField *field = Window().Design().Text1[RecordForm::RegistrationField];
    field->setText(u"X-1"_s);
    field->setFocus();
    field->selectAll();

    // Ctrl+C is also "Add Record" of the shown menu bar; in a field it copies.
    QTest::keyClick(Window().windowHandle(), Qt::Key_C, Qt::ControlModifier);

    QCOMPARE(QGuiApplication::clipboard()->text(), u"X-1"_s);
    QCOMPARE(Window().Database().List().Count(), 0);
    QCOMPARE(field->text(), u"X-1"_s);
}

void TestMainWindow::popupShortcut_actsOnlyWhilePopupOpen()
{
    Window().SetFieldText(RecordForm::RegistrantField, u"Ada Lovelace"_s);
    QGuiApplication::clipboard()->setText(u"before"_s);
    QTest::keyClick(Window().windowHandle(), Qt::Key_U, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"before"_s);

    QMenu *popup = Window().Menus().Tmenu;
    popup->popup(Window().mapToGlobal(QPoint(20, 20)));
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    QTest::keyClick(popup, Qt::Key_U, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"Ada Lovelace"_s);
    QVERIFY(!popup->isVisible());
}

void TestMainWindow::f1Release_inField_opensHelpPage()
{
    Window().Design().Text1[RecordForm::RegistrationField]->setFocus();
    QTest::keyRelease(Window().windowHandle(), Qt::Key_F1, Qt::ShiftModifier);
    QCOMPARE(m_program->shell.opened, QStringList{m_program->folders.HelpPagePath()});
}

void TestMainWindow::showGrid_twice_flipsGridAndStoresIt()
{
    QAction *showGrid = Window().Menus().mnulines;
    const RecordListView *list = Window().Design().ListView1;

    showGrid->trigger();
    QVERIFY(showGrid->isChecked());
    QVERIFY(list->GridLines());
    QCOMPARE(m_program->settings.Get(u"102"_s), u"True"_s);

    showGrid->trigger();
    QVERIFY(!showGrid->isChecked());
    QVERIFY(!list->GridLines());
    QCOMPARE(m_program->settings.Get(u"102"_s), u"False"_s);
    QCOMPARE(m_program->settings.writeCount, 2);
}

void TestMainWindow::layout_followsClientSize_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");

    QTest::newRow("as designed") << 9825 << 7410;
    QTest::newRow("2250 wider") << 12075 << 7410;
    QTest::newRow("narrower and lower") << 6000 << 4500;
    QTest::newRow("narrower than the fields") << 3000 << 7410;
}

void TestMainWindow::layout_followsClientSize()
{
    QFETCH(int, width);
    QFETCH(int, height);
    ResizeClient(width, height);
    const ScreenDesign &d = Window().Design();

    QCOMPARE(d.ListView1->height(), Px(height - 2010 - 400));
    QCOMPARE(d.Shape1[7]->height(), Px(height - 2010 - 600));
    QCOMPARE(d.Shape1[6]->y(), Px(height - 400));
    QCOMPARE(d.Line1->Ends().y2(), height - 380);
    QCOMPARE(d.Line2->Ends().y2(), height - 150);
    QCOMPARE(d.Frame1->width(), Px(width - 100));
    QCOMPARE(d.Frame2->width(), Px(width - 100));
    QCOMPARE(d.ListView1->width(), Px(width - 250));
    for (int shape : {5, 6, 7})
        QCOMPARE(d.Shape1[shape]->width(), Px(width - 80));
    QCOMPARE(d.Line1->Ends(), QLine(width - 55, 2445, width - 55, height - 380));
    QCOMPARE(d.ListView1->pos(), QPoint(Px(75), Px(2265)));
    QCOMPARE(d.Text1[RecordForm::RegistrationField]->width(), Px(6420));
}

void TestMainWindow::layout_tooLow_stopsBeforeWidths_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("listHeight");

    // Lower than Frame1 + 400: the first step is refused, the list keeps its height.
    QTest::newRow("refused at step 1") << 2400 << 7410 - 2010 - 400;
    // Lower than Frame1 + 600: the list follows, then the pass stops.
    QTest::newRow("refused at step 2") << 2505 << 2505 - 2010 - 400;
}

void TestMainWindow::layout_tooLow_stopsBeforeWidths()
{
    QFETCH(int, height);
    QFETCH(int, listHeight);
    const ScreenDesign &d = Window().Design();
    const int frameWidth = d.Frame1->width();
    const int shapeTop = d.Shape1[6]->y();

    ResizeClient(12000, height);

    QCOMPARE(d.ListView1->height(), Px(listHeight));
    QCOMPARE(d.Frame1->width(), frameWidth);
    QCOMPARE(d.Shape1[6]->y(), shapeTop);
    QCOMPARE(d.Line1->Ends().x1(), 9825 - 55);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
