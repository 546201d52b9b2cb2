#include "editing/recordlist.h"
#include "views/recordlistview.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// A button and the row position it is clicked on; 0 is the empty space below the rows.
using Clicks = QList<std::pair<Qt::MouseButton, int>>;

const RegistrationRecord Alpha{{"Alpha", "Bob"}};
const RegistrationRecord Beta{{"Beta", "Carol"}};
const RegistrationRecord Gamma{{"Gamma", "Alice"}};

} // namespace

class TestRecordListView : public QObject
{
    Q_OBJECT

    std::unique_ptr<RecordList> m_list;
    std::unique_ptr<RecordListView> m_view;

private slots:
    void init()
    {
        // A view must not outlive the list it shows.
        m_view.reset();
        m_list = std::make_unique<RecordList>();
        m_list->AppendRows({Beta, Alpha, Gamma});
        m_view = std::make_unique<RecordListView>(*m_list);
        m_view->resize(600, 300);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }

    void clicks_chooseTheRowPressedBefore_data()
    {
        QTest::addColumn<Clicks>("clicks");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("popups");
        QTest::newRow("left on a row, then on empty space")
            << Clicks{{Qt::LeftButton, 2}, {Qt::LeftButton, 0}} << 2 << 0;
        QTest::newRow("left and right on empty space") << Clicks{{Qt::LeftButton, 0}, {Qt::RightButton, 0}} << 0 << 0;
        QTest::newRow("right on a row, then left anywhere")
            << Clicks{{Qt::RightButton, 3}, {Qt::LeftButton, 0}} << 3 << 1;
    }

    void clicks_chooseTheRowPressedBefore()
    {
        QFETCH(Clicks, clicks);
        QFETCH(int, chosen);
        QFETCH(int, popups);
        QSignalSpy chosenSpy(m_view.get(), &RecordListView::rowChosen);
        QSignalSpy popupSpy(m_view.get(), &RecordListView::popupRequested);

        for (const auto &[button, position] : clicks) {
            const QPoint place = position > 0 ? m_view->visualRect(m_list->index(position - 1, 0)).center()
                                              : QPoint(10, m_view->viewport()->height() - 5);
            QTest::mouseClick(m_view->viewport(), button, {}, place);
        }

        QCOMPARE(chosenSpy, chosen > 0 ? QList<QList<QVariant>>{{chosen}} : QList<QList<QVariant>>());
        QCOMPARE(popupSpy.count(), popups);
    }

    void headerClicks_flipOneOrderAcrossColumns()
    {
        QHeaderView *header = m_view->horizontalHeader();
        const auto clickHeader = [header](int section) {
            const int x = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        };
        clickHeader(RegistrationRecord::Product);
        QCOMPARE(m_list->Rows(), (QList<RegistrationRecord>{Gamma, Beta, Alpha}));
        clickHeader(RegistrationRecord::Registrant);
        QCOMPARE(m_list->Rows(), (QList<RegistrationRecord>{Gamma, Alpha, Beta}));
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    }

    void editKeys_openNoEditor()
    {
        QTest::mouseDClick(m_view->viewport(), Qt::LeftButton, {}, m_view->visualRect(m_list->index(0, 0)).center());
        QTest::keyClick(m_view.get(), Qt::Key_F2);
        QTest::keyClicks(m_view.get(), QStringLiteral("x"));
        QVERIFY(!m_view->findChild<QLineEdit *>());
        QCOMPARE(m_list->Rows(), (QList<RegistrationRecord>{Beta, Alpha, Gamma}));
    }
};

QTEST_MAIN(TestRecordListView)
#include "tst_recordlistview.moc"
