#include "editing/recordlist.h"
#include "editing/view/recordlistview.h"

#include <QAccessible>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRecordListView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void leftClickOnRow_choosesIt();
    void releaseWithoutRowPress_choosesNothing();
    void secondReleaseAfterChoice_choosesNothing();
    void otherButtonRelease_keepsRowPending_data();
    void otherButtonRelease_keepsRowPending();
    void rightClickThenLeftReleaseOnEmptySpace_choosesSelectedRow();
    void ctrlClickOnSelectedRow_keepsItSelected();
    void keyboardMove_choosesNothing();
    void headerClicks_flipOneOrderAcrossColumns();
    void editKeys_openNoEditor();
    void accessibility_exposesHeadersAndCells();

private:
    QPoint RowCentre(int position) const;
    QPoint EmptySpace() const;
    void ClickHeader(int section);

    RecordList *m_list = nullptr;
    RecordListView *m_view = nullptr;
};

namespace {

RegistrationRecord Record(const char *product, const char *registrant)
{
    RegistrationRecord record;
    record[RegistrationRecord::Product] = product;
    record[RegistrationRecord::Registrant] = registrant;
    return record;
}

QStringList Products(const RecordList &list)
{
    QStringList products;
    for (const RegistrationRecord &record : list.Rows())
        products.append(QString::fromLatin1(record[RegistrationRecord::Product]));
    return products;
}

} // namespace

void TestRecordListView::init()
{
    m_list = new RecordList;
    m_list->AppendRows({Record("Beta", "Carol"), Record("Alpha", "Bob"), Record("Gamma", "Alice")});
    m_view = new RecordListView(*m_list);
    m_view->resize(600, 300);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
}

void TestRecordListView::cleanup()
{
    delete m_view;
    delete m_list;
}

QPoint TestRecordListView::RowCentre(int position) const
{
    return m_view->visualRect(m_list->index(position - 1, 0)).center();
}

QPoint TestRecordListView::EmptySpace() const
{
    return QPoint(10, m_view->viewport()->height() - 5);
}

void TestRecordListView::ClickHeader(int section)
{
    QHeaderView *header = m_view->horizontalHeader();
    const QPoint inside(header->sectionViewportPosition(section) + header->sectionSize(section) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, inside);
}

void TestRecordListView::leftClickOnRow_choosesIt()
{
    QSignalSpy chosen(m_view, &RecordListView::rowChosen);
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, RowCentre(2));
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.first().first().toInt(), 2);
    QCOMPARE(m_list->SelectedPosition(), 2);
    QVERIFY(!m_view->ItemClicked());
}

void TestRecordListView::releaseWithoutRowPress_choosesNothing()
{
    QSignalSpy chosen(m_view, &RecordListView::rowChosen);
    QSignalSpy popups(m_view, &RecordListView::popupRequested);
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, EmptySpace());
    QTest::mouseClick(m_view->viewport(), Qt::RightButton, {}, EmptySpace());
    QCOMPARE(chosen.count(), 0);
    QCOMPARE(popups.count(), 0);
}

void TestRecordListView::secondReleaseAfterChoice_choosesNothing()
{
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, RowCentre(1));
    QSignalSpy chosen(m_view, &RecordListView::rowChosen);
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, EmptySpace());
    QCOMPARE(chosen.count(), 0);
}

void TestRecordListView::otherButtonRelease_keepsRowPending_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("popupCount");
    QTest::newRow("right opens the popup") << Qt::RightButton << 1;
    QTest::newRow("middle does nothing") << Qt::MiddleButton << 0;
}

void TestRecordListView::otherButtonRelease_keepsRowPending()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, popupCount);
    QSignalSpy chosen(m_view, &RecordListView::rowChosen);
    QSignalSpy popups(m_view, &RecordListView::popupRequested);

    QTest::mouseClick(m_view->viewport(), button, {}, RowCentre(3));

    QCOMPARE(popups.count(), popupCount);
    if (popupCount > 0)
        QCOMPARE(popups.first().first().toPoint(), m_view->viewport()->mapToGlobal(RowCentre(3)));
    QCOMPARE(chosen.count(), 0);
    QVERIFY(m_view->ItemClicked());
    QCOMPARE(m_list->SelectedPosition(), 3);
}

void TestRecordListView::rightClickThenLeftReleaseOnEmptySpace_choosesSelectedRow()
{
    QTest::mouseClick(m_view->viewport(), Qt::RightButton, {}, RowCentre(2));
    QSignalSpy chosen(m_view, &RecordListView::rowChosen);

    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, EmptySpace());

    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.first().first().toInt(), 2);
    QVERIFY(!m_view->ItemClicked());
}

void TestRecordListView::ctrlClickOnSelectedRow_keepsItSelected()
{
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, RowCentre(2));
    QSignalSpy chosen(m_view, &RecordListView::rowChosen);

    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, Qt::ControlModifier, RowCentre(2));

    QCOMPARE(m_list->SelectedPosition(), 2);
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.first().first().toInt(), 2);
}

void TestRecordListView::keyboardMove_choosesNothing()
{
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, RowCentre(1));
    QSignalSpy chosen(m_view, &RecordListView::rowChosen);

    QTest::keyClick(m_view, Qt::Key_Down);
    QTest::keyClick(m_view, Qt::Key_Down);

    QCOMPARE(m_list->SelectedPosition(), 3);
    QCOMPARE(chosen.count(), 0);
}

void TestRecordListView::headerClicks_flipOneOrderAcrossColumns()
{
    QHeaderView *header = m_view->horizontalHeader();
    QVERIFY(!header->isSortIndicatorShown());

    ClickHeader(RegistrationRecord::Product);
    QCOMPARE(Products(*m_list), (QStringList{u"Gamma"_s, u"Beta"_s, u"Alpha"_s}));
    QVERIFY(header->isSortIndicatorShown());
    QCOMPARE(header->sortIndicatorSection(), int(RegistrationRecord::Product));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);

    ClickHeader(RegistrationRecord::Registrant);
    QCOMPARE(Products(*m_list), (QStringList{u"Gamma"_s, u"Alpha"_s, u"Beta"_s}));
    QCOMPARE(header->sortIndicatorSection(), int(RegistrationRecord::Registrant));
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);

    ClickHeader(RegistrationRecord::Registrant);
    QCOMPARE(Products(*m_list), (QStringList{u"Beta"_s, u"Alpha"_s, u"Gamma"_s}));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
}

void TestRecordListView::editKeys_openNoEditor()
{
    QTest::mouseDClick(m_view->viewport(), Qt::LeftButton, {}, RowCentre(1));
    QTest::keyClick(m_view, Qt::Key_F2);
    QTest::keyClicks(m_view, u"x"_s);
    QVERIFY(!m_view->findChild<QLineEdit *>());
    QCOMPARE(m_list->RowAt(1)[RegistrationRecord::Product], QByteArray("Beta"));
}

void TestRecordListView::accessibility_exposesHeadersAndCells()
{
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(m_view);
    QVERIFY(view);
    QAccessibleTableInterface *table = view->tableInterface();
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->columnDescription(RegistrationRecord::CustomerId), u"Customer ID"_s);
    QCOMPARE(table->cellAt(1, RegistrationRecord::Registrant)->text(QAccessible::Name), u"Bob"_s);
}

QTEST_MAIN(TestRecordListView)
#include "tst_recordlistview.moc"
