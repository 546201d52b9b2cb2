#include "testprogram.h"

#include "app/mainwindow/linewidget.h"
#include "app/shapewidget.h"
#include "editing/view/inputfield.h"
#include "editing/view/recordlistview.h"
#include "editing/view/twips.h"

#include <QAction>
#include <QClipboard>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>

using namespace Qt::StringLiterals;

// The main window's keys, the Show grid command and the layout pass.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_program = std::make_unique<TestProgram>();
        m_program->Start();
        QVERIFY(QTest::qWaitForWindowActive(&Window()));
    }

    void field_isNamedByItsLabel()
    {
        const QStringList captions{u"Web Contact (Email, URL)"_s, u"Product,Software Name"_s,  u"Registered to"_s,
                                   u"Registration #, Code"_s,     u"Customer #, Product ID"_s, u"Registration Date"_s};
        for (int field = 0; field < RecordForm::FieldCount; ++field)
            QCOMPARE(Window().Design().Text1[field]->accessibleName(), captions[field]);
    }

    void tab_walksTheFieldsInTheirDesignedOrder()
    {
        QList<int> order;
        Window().FocusField(RecordForm::ProductField);
        for (int step = 0; step < RecordForm::FieldCount; ++step) {
            order.append(static_cast<InputField *>(QApplication::focusWidget())->Index());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order,
                 (QList<int>{RecordForm::ProductField, RecordForm::RegistrationDateField, RecordForm::RegistrantField,
                             RecordForm::CustomerIdField, RecordForm::RegistrationField, RecordForm::WebContactField}));
    }

    void altRelease_flipsTheFourMenus_data()
    {
        QTest::addColumn<int>("releases");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("shown");
        QTest::newRow("none") << 0 << Qt::KeyboardModifiers() << false;
        QTest::newRow("one") << 1 << Qt::KeyboardModifiers() << true;
        QTest::newRow("two") << 2 << Qt::KeyboardModifiers() << false;
        QTest::newRow("one with Ctrl held") << 1 << Qt::KeyboardModifiers(Qt::ControlModifier) << true;
    }

    void altRelease_flipsTheFourMenus()
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

    void editingKey_inField_goesToField()
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
    }

    void f1Release_inField_opensHelpPage()
    {
        Window().Design().Text1[RecordForm::RegistrationField]->setFocus();
        QTest::keyRelease(Window().windowHandle(), Qt::Key_F1, Qt::ShiftModifier);
        QCOMPARE(m_program->shell.opened, QStringList{m_program->folders.HelpPagePath()});
    }

    void showGrid_twice_flipsGridAndStoresIt()
    {
        for (const bool on : {true, false}) {
            Window().Menus().mnulines->trigger();
            QCOMPARE(Window().Menus().mnulines->isChecked(), on);
            QCOMPARE(Window().Design().ListView1->GridLines(), on);
            QCOMPARE(m_program->settings.Get(u"102"_s), on ? u"True"_s : u"False"_s);
        }
        QCOMPARE(m_program->settings.writeCount, 2);
    }

    void layout_followsClientSizeUnlessTooLow_data()
    {
        // In twips. The window is designed 9825 wide and 7410 high; widths
        // follow only when the whole pass runs.
        QTest::addColumn<QSize>("client");
        QTest::addColumn<int>("listHeight");
        QTest::addColumn<int>("shapeTop");
        QTest::addColumn<int>("laidOutWidth");
        QTest::newRow("2250 wider") << QSize(12075, 7410) << 7410 - 2410 << 7410 - 400 << 12075;
        // Lower than Frame1 + 400: the first step is refused.
        QTest::newRow("too low for step 1") << QSize(12000, 2400) << 7410 - 2410 << 7410 - 400 << 9825;
        // Lower than Frame1 + 600: the list follows, then the pass stops.
        QTest::newRow("too low for step 2") << QSize(12000, 2505) << 2505 - 2410 << 7410 - 400 << 9825;
    }

    void layout_followsClientSizeUnlessTooLow()
    {
        QFETCH(QSize, client);
        QFETCH(int, listHeight);
        QFETCH(int, shapeTop);
        QFETCH(int, laidOutWidth);
        const auto px = [this](int twips) { return TwipsToPixels(twips, &Window()); };
        Window().resize(px(client.width()), px(client.height()));
        QTRY_COMPARE(Window().centralWidget()->size(), QSize(px(client.width()), px(client.height())));

        const ScreenDesign &d = Window().Design();
        QCOMPARE(d.ListView1->height(), px(listHeight));
        QCOMPARE(d.Shape1[6]->y(), px(shapeTop));
        QCOMPARE(d.Frame1->width(), px(laidOutWidth - 100));
        QCOMPARE(d.ListView1->width(), px(laidOutWidth - 250));
        QCOMPARE(d.Line1->Ends().x1(), laidOutWidth - 55);
        QCOMPARE(d.Text1[RecordForm::RegistrationField]->width(), px(6420));
    }

private:
    frmScrn &Window() { return *m_program->window; }

    std::unique_ptr<TestProgram> m_program;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
