#include "testprogram.h"

#include "app/aboutwindow.h"
#include "app/mainwindow/toolbarbutton.h"
#include "views/inputfield.h"
#include "views/recordlistview.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

using namespace Qt::StringLiterals;

// The main window worked with the keyboard alone: focus order, the keys of
// the toolbars, menus and list, and what a screen reader is told.
class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_program = std::make_unique<TestProgram>();
        m_program->WriteDatabase(1, {TestProgram::Record("Alpha"), TestProgram::Record("Beta")});
        m_program->Start();
        QVERIFY(QTest::qWaitForWindowActive(&Window()));
    }

    void cleanup()
    {
        // A pop-up left open by a failed check would take the next test's keys.
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    }

    void startUp_focusInProductAndFrameCentred()
    {
        QCOMPARE(QApplication::focusWidget(), Field(RecordForm::ProductField));
        QCOMPARE(Window().frameGeometry().center(), Window().screen()->availableGeometry().center());
    }

    void tab_walksEveryControlAndComesBack_data()
    {
        const QStringList forward{u"Product,Software Name"_s,
                                  u"Registration Date"_s,
                                  u"Registered to"_s,
                                  u"Customer #, Product ID"_s,
                                  u"Registration #, Code"_s,
                                  u"Web Contact (Email, URL)"_s,
                                  u"Add Record"_s,
                                  u"Remove Selected Record"_s,
                                  u"Replace Selected Record"_s,
                                  u"Clear Input Fields"_s,
                                  u"Work applications"_s,
                                  u"Games"_s,
                                  u"Tools"_s,
                                  u"Miscelaneous"_s,
                                  u"Main Menu"_s,
                                  u"Records"_s};
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("Tab") << Qt::KeyboardModifiers() << forward.mid(1) + forward.mid(0, 1);
        QStringList backward(forward.crbegin(), forward.crend());
        QTest::newRow("Shift+Tab") << Qt::KeyboardModifiers(Qt::ShiftModifier) << backward;
    }

    void tab_walksEveryControlAndComesBack()
    {
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QStringList, order);
        QStringList reached;
        for (qsizetype step = 0; step < order.size(); ++step) {
            QTest::keyClick(Window().windowHandle(), Qt::Key_Tab, modifiers);
            reached.append(QApplication::focusWidget()->accessibleName());
        }
        QCOMPARE(reached, order);
    }

    void keysAlone_addARecord()
    {
        for (const QString &text : {u"Zeta"_s, u"2026-01-01"_s, u"Ann"_s, u"CID-7"_s, u"AAAA"_s, u"zeta.example"_s}) {
            Type(text);
            QTest::keyClick(Window().windowHandle(), Qt::Key_Tab);
        }
        QTest::keyClick(Window().windowHandle(), Qt::Key_Return);

        const RegistrationRecord added = Window().Database().List().Rows().constLast();
        QCOMPARE(added, RegistrationRecord({"Zeta", "Ann", "CID-7", "AAAA", "http://zeta.example", "2026-01-01",
                                            added[RegistrationRecord::Recorded]}));
        QCOMPARE(QApplication::focusWidget(), Field(RecordForm::ProductField));
        QCOMPARE(Field(RecordForm::RegistrantField)->text(), u"Ann"_s);
    }

    void altTwiceWhileTyping_losesNothing()
    {
        for (const QString &text : {u"ab"_s, u"cd"_s, u"ef"_s}) {
            Type(text);
            QTest::keyClick(Window().windowHandle(), Qt::Key_Alt);
        }
        QCOMPARE(Field(RecordForm::ProductField)->text(), u"abcdef"_s);
        QCOMPARE(QApplication::focusWidget(), Field(RecordForm::ProductField));
        QVERIFY(Window().menuBar()->isVisible());
    }

    void toolbarKey_actsAsClick_data()
    {
        QTest::addColumn<int>("button"); // 1 to 4 the record toolbar, 5 to 9 the database toolbar
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("database");
        QTest::addColumn<int>("rows");
        QTest::newRow("Add by Space") << 1 << int(Qt::Key_Space) << 1 << 3;
        QTest::newRow("Add by Return") << 1 << int(Qt::Key_Return) << 1 << 3;
        QTest::newRow("Clear by Enter") << 4 << int(Qt::Key_Enter) << 1 << 2;
        QTest::newRow("Games by Return") << 6 << int(Qt::Key_Return) << 2 << 0;
        QTest::newRow("Tab is no click") << 1 << int(Qt::Key_Tab) << 1 << 2;
    }

    void toolbarKey_actsAsClick()
    {
        QFETCH(int, button);
        QFETCH(int, key);
        QFETCH(int, database);
        QFETCH(int, rows);
        const ScreenDesign &design = Window().Design();
        Field(RecordForm::RegistrationField)->setText(u"CODE"_s);
        ToolbarButton *target = button <= 4 ? design.Toolbar1Widgets[button - 1] : design.Toolbar2Widgets[button - 5];
        target->setFocus(Qt::TabFocusReason);

        QTest::keyClick(Window().windowHandle(), Qt::Key(key));

        QCOMPARE(Window().Selection().CurrentDatabase(), database);
        QCOMPARE(Window().Database().List().Count(), rows);
        const bool recordButton = button <= 4 && key != Qt::Key_Tab;
        QCOMPARE(Field(RecordForm::RegistrationField)->text().isEmpty(), recordButton);
        if (recordButton)
            QCOMPARE(QApplication::focusWidget(), Field(RecordForm::ProductField));
    }

    void menuKey_opensTheMenuOfTheFocus_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QKeyCombination>("keys");
        QTest::addColumn<QString>("menu");
        QTest::newRow("Space on Main Menu") << u"MainMenu"_s << QKeyCombination(Qt::Key_Space) << u"Tmenu"_s;
        QTest::newRow("Return on Main Menu") << u"MainMenu"_s << QKeyCombination(Qt::Key_Return) << u"Tmenu"_s;
        QTest::newRow("Menu in a field") << u"Text1_3"_s << QKeyCombination(Qt::Key_Menu) << u"Tmenu"_s;
        QTest::newRow("Shift+F10 in a field")
            << u"Text1_1"_s << QKeyCombination(Qt::ShiftModifier, Qt::Key_F10) << u"Tmenu"_s;
        QTest::newRow("Menu in the list") << u"ListView1"_s << QKeyCombination(Qt::Key_Menu) << u"Tother"_s;
    }

    void menuKey_opensTheMenuOfTheFocus()
    {
        QFETCH(QString, focus);
        QFETCH(QKeyCombination, keys);
        QFETCH(QString, menu);
        auto *focused = Window().findChild<QWidget *>(focus);
        if (!focused)
            focused = Window().Design().Toolbar2Widgets.constLast();
        focused->setFocus(Qt::TabFocusReason);

        QTest::keyClick(Window().windowHandle(), keys.key(), keys.keyboardModifiers());

        auto *opened = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(opened);
        QCOMPARE(opened->objectName(), menu);
        // The first entry is lit for the arrow keys, and the menu opens at
        // the focused control.
        QCOMPARE(opened->activeAction(), opened->actions().constFirst());
        const QRect place(focused->mapToGlobal(QPoint()), focused->size());
        QVERIFY(opened->geometry().top() >= place.top() && opened->geometry().top() <= place.bottom() + 1);
    }

    void f10_opensTheShownMenuBar()
    {
        QTest::keyClick(Window().windowHandle(), Qt::Key_F10);
        QVERIFY(!QApplication::activePopupWidget());

        QTest::keyClick(Window().windowHandle(), Qt::Key_Alt);
        QTest::keyClick(Window().windowHandle(), Qt::Key_F10);
        QCOMPARE(QApplication::activePopupWidget(), Window().Menus().bMenu);
        QCOMPARE(Window().Menus().bMenu->activeAction(), Window().Menus().mnuAdd);
        // Records, Databases, its "Use" sub-menu, Fields, Software.
        for (int step = 0; step < 4; ++step)
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Right);
        QCOMPARE(QApplication::activePopupWidget(), Window().Menus().mnuSoftware);
        QCOMPARE(Window().Menus().mnuSoftware->activeAction(), Window().Menus().mnuAboutB);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);

        QTRY_VERIFY(Window().About()->isVisible());
    }

    void listEnter_choosesTheCurrentRow()
    {
        RecordListView *list = Window().Design().ListView1;
        list->setFocus(Qt::TabFocusReason);
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(Field(RecordForm::ProductField)->text(), QString());

        QTest::keyClick(list, Qt::Key_Return);

        QCOMPARE(Field(RecordForm::ProductField)->text(), u"Beta"_s);
        QCOMPARE(Window().windowTitle(), u"Korvane b2 - Modified: 01-02-2026 08:00:00"_s);
        QCOMPARE(Window().Database().List().SelectedPosition(), 2);
    }

    void screenReader_namesEveryControl()
    {
        for (const QLabel *label : Window().Design().Label1) {
            QAccessibleInterface *field = QAccessible::queryAccessibleInterface(label->buddy());
            QCOMPARE(field->text(QAccessible::Name), label->text());
            QCOMPARE(field->text(QAccessible::Description), label->toolTip());
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(Window().Design().ListView1)->text(QAccessible::Name),
                 u"Records"_s);
        // The database buttons: one group of four radio buttons in their
        // visual order, the current one checked.
        QAccessibleInterface *group =
            QAccessible::queryAccessibleInterface(Window().Design().Toolbar2Widgets[0])->parent();
        QCOMPARE(group->role(), QAccessible::Grouping);
        QCOMPARE(group->childCount(), 4);
        for (int number = 1; number <= 4; ++number) {
            QAccessibleInterface *button = group->child(number - 1);
            QCOMPARE(button->object(), Window().Design().Toolbar2Widgets[number - 1]);
            QCOMPARE(button->role(), QAccessible::RadioButton);
            QCOMPARE(bool(button->state().checked), number == 1);
        }
        QAccessibleInterface *mainMenu =
            QAccessible::queryAccessibleInterface(Window().Design().Toolbar2Widgets.constLast());
        QCOMPARE(mainMenu->role(), QAccessible::ButtonMenu);
        QVERIFY(mainMenu->state().hasPopup);
        QCOMPARE(QAccessible::queryAccessibleInterface(Window().Design().Toolbar1Widgets[0])->role(),
                 QAccessible::PushButton);
    }

private:
    frmScrn &Window() { return *m_program->window; }
    InputField *Field(int index) { return Window().Design().Text1[index]; }
    // Key by key through the window, as typing arrives.
    void Type(const QString &text)
    {
        for (const QChar character : text)
            QTest::keyClick(Window().windowHandle(), character.toLatin1());
    }

    std::unique_ptr<TestProgram> m_program;
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
