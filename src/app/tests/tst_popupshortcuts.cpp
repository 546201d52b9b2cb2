#include "app/mainwindow/popupshortcuts.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

// A pop-up that belongs to no menu bar: its entries' keys act only while it
// is open, and choosing one closes the whole pop-up.
class TestPopupShortcuts : public QObject
{
    Q_OBJECT

private:
    QMainWindow m_window;
    QMenu *m_popup = nullptr;
    QMenu *m_subMenu = nullptr;
    QAction *m_topEntry = nullptr;
    QAction *m_subEntry = nullptr;

private slots:
    void init()
    {
        m_popup = new QMenu(&m_window);
        m_topEntry = m_popup->addAction(u"Top"_s);
        m_topEntry->setShortcut(Qt::CTRL | Qt::Key_T);
        m_subMenu = m_popup->addMenu(u"Sub"_s);
        m_subEntry = m_subMenu->addAction(u"Inner"_s);
        m_subEntry->setShortcut(Qt::CTRL | Qt::Key_I);
        new PopupShortcuts(m_popup);
        m_window.show();
    }

    void cleanup() { delete m_popup; }

    void keyWhileOpen_choosesTheEntryAndCloses_data()
    {
        QTest::addColumn<bool>("fromSubMenu");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("topChosen");
        QTest::newRow("top entry, pop-up focused") << false << int(Qt::Key_T) << true;
        QTest::newRow("inner entry, pop-up focused") << false << int(Qt::Key_I) << false;
        QTest::newRow("top entry, sub-menu open") << true << int(Qt::Key_T) << true;
    }

    void keyWhileOpen_choosesTheEntryAndCloses()
    {
        QFETCH(bool, fromSubMenu);
        QFETCH(int, key);
        QFETCH(bool, topChosen);
        QSignalSpy top(m_topEntry, &QAction::triggered);
        QSignalSpy inner(m_subEntry, &QAction::triggered);
        m_popup->popup(m_window.geometry().center());
        QVERIFY(QTest::qWaitForWindowExposed(m_popup));
        QMenu *target = m_popup;
        if (fromSubMenu) {
            m_subMenu->popup(m_window.geometry().center());
            QVERIFY(QTest::qWaitForWindowExposed(m_subMenu));
            target = m_subMenu;
        }
        QTest::keyClick(target, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(top.count(), topChosen ? 1 : 0);
        QCOMPARE(inner.count(), topChosen ? 0 : 1);
        QVERIFY(!m_popup->isVisible());
        QVERIFY(!m_subMenu->isVisible());
    }

    void keyWhileClosed_doesNothing()
    {
        QSignalSpy top(m_topEntry, &QAction::triggered);
        QTest::keyClick(&m_window, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(top.count(), 0);
    }
};

QTEST_MAIN(TestPopupShortcuts)
#include "tst_popupshortcuts.moc"
