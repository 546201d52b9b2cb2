#include "testprogram.h"

#include "app/mainwindow/linewidget.h"
#include "app/shapewidget.h"
#include "views/inputfield.h"
#include "views/recordlistview.h"
#include "views/twips.h"

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

    // Growing the window grows the list and the bands around it by the same
    // amount and leaves the input fields where they are; a window too low
    // for the list keeps its earlier layout.
    void layout_followsClientSizeUnlessTooLow_data()
    {
        QTest::addColumn<int>("extraWidth");
        QTest::addColumn<double>("heightFactor");
        QTest::addColumn<bool>("follows");
        QTest::newRow("wider and taller") << 150 << 1.2 << true;
        QTest::newRow("narrower and lower") << -60 << 0.9 << true;
        QTest::newRow("too low for the list") << 150 << 0.3 << false;
    }

    void layout_followsClientSizeUnlessTooLow()
    {
        QFETCH(int, extraWidth);
        QFETCH(double, heightFactor);
        QFETCH(bool, follows);
        const ScreenDesign &d = Window().Design();
        QWidget *client = Window().centralWidget();
        const QRect list = d.ListView1->geometry();
        const QRect frame = d.Frame1->geometry();
        const QRect bottomBand = d.Shape1[6]->geometry();
        const QRect field = d.Text1[RecordForm::RegistrationField]->geometry();
        const int extraHeight = int(client->height() * heightFactor) - client->height();
        const QSize size = client->size() + QSize(extraWidth, extraHeight);
        Window().resize(Window().size() + QSize(extraWidth, extraHeight));
        QTRY_COMPARE(client->size(), size);

        QCOMPARE(d.Text1[RecordForm::RegistrationField]->geometry(), field);
        if (!follows) {
            QCOMPARE(d.ListView1->geometry(), list);
            QCOMPARE(d.Shape1[6]->geometry(), bottomBand);
            return;
        }
        // Twips round to pixels one size at a time, so allow a pixel.
        const auto near = [](int actual, int expected) { return qAbs(actual - expected) <= 1; };
        QVERIFY(near(d.ListView1->width(), list.width() + extraWidth));
        QVERIFY(near(d.ListView1->height(), list.height() + extraHeight));
        QVERIFY(near(d.Frame1->width(), frame.width() + extraWidth));
        QVERIFY(near(d.Shape1[6]->y(), bottomBand.y() + extraHeight));
        QCOMPARE(d.ListView1->pos(), list.topLeft());
    }

private:
    frmScrn &Window() { return *m_program->window; }

    std::unique_ptr<TestProgram> m_program;
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
