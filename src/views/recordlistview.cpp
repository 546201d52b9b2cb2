#include "recordlistview.h"

#include "editing/recordlist.h"
#include "recordcelldelegate.h"
#include "twips.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

#include <algorithm>
#include <array>

namespace {

// Start widths in column order; Recorded starts collapsed, its time shows in
// the caption when a row is chosen.
constexpr std::array<int, RegistrationRecord::FieldCount> ColumnTwips = {1440, 1440, 1440, 2840, 1440, 1000, 1};

} // namespace

RecordListView::RecordListView(RecordList &list, QWidget *parent)
    : QTableView(parent)
    , m_list(list)
{
    setModel(&m_list);
    setItemDelegate(new RecordCellDelegate(this));
    // The list owns the selection so the record operations can read it.
    QItemSelectionModel *ownSelection = selectionModel();
    setSelectionModel(m_list.SelectionModel());
    delete ownSelection;

    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setWordWrap(false);
    // Tab leaves the list for the next control instead of walking its cells.
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    // Compact report rows of one height: also keeps a full list of 32,767
    // rows from being measured row by row.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A column narrower than both grips of its edge could not be widened
    // by hand, and the collapsed Recorded column is meant to be.
    const int grabbableWidth = 2 * style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this) + 2;
    for (int column = 0; column < int(ColumnTwips.size()); ++column)
        setColumnWidth(column, std::max(TwipsToPixels(ColumnTwips[column], this), grabbableWidth));

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &RecordListView::ColumnClick);
    // Rows that arrive are laid out at once, and the scroll bars follow
    // their new ranges at once (Qt queues that call): a list filled just
    // after its window was shown is then painted once, scroll bars and all,
    // not first without them and then again.
    connect(&m_list, &QAbstractItemModel::rowsInserted, this, [this] {
        executeDelayedItemsLayout();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    });
    ShowSortIndicator();
}

void RecordListView::SetGridLines(bool on)
{
    setShowGrid(on);
}

bool RecordListView::GridLines() const
{
    return showGrid();
}

bool RecordListView::ItemClicked() const
{
    return m_itemClicked;
}

void RecordListView::mousePressEvent(QMouseEvent *event)
{
    QTableView::mousePressEvent(event);
    // The press selects the row first, so the release that follows finds it.
    if (indexAt(event->position().toPoint()).isValid())
        m_itemClicked = true;
}

void RecordListView::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    if (!m_itemClicked)
        return;
    if (event->button() == Qt::LeftButton) {
        m_itemClicked = false;
        // The rows may have gone since the press (a database switch from the popup).
        if (const int position = m_list.SelectedPosition(); position > 0)
            emit rowChosen(position);
    } else if (event->button() == Qt::RightButton) {
        emit popupRequested(event->globalPosition().toPoint());
    }
}

void RecordListView::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        ChooseCurrentRow();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

QPoint RecordListView::KeyboardPopupPosition() const
{
    const QRect row = visualRect(currentIndex()).intersected(viewport()->rect());
    return viewport()->mapToGlobal(row.isValid() ? row.bottomLeft() : QPoint());
}

void RecordListView::ChooseCurrentRow()
{
    // The row that shows the focus is the one chosen, selected or not yet.
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    selectionModel()->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_itemClicked = false;
    if (const int position = m_list.SelectedPosition(); position > 0)
        emit rowChosen(position);
}

QItemSelectionModel::SelectionFlags RecordListView::selectionCommand(const QModelIndex &index,
                                                                     const QEvent *event) const
{
    // A press on empty space keeps the selection, so a pending row can still
    // be chosen; a click on a row always selects it, Ctrl held or not.
    if (!index.isValid() && event && event->isPointerEvent())
        return QItemSelectionModel::NoUpdate;
    const QItemSelectionModel::SelectionFlags command = QTableView::selectionCommand(index, event);
    if (command.testFlag(QItemSelectionModel::Deselect))
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    return command;
}

void RecordListView::ColumnClick(int section)
{
    m_list.ColumnClick(section);
    ShowSortIndicator();
}

void RecordListView::ShowSortIndicator()
{
    // The header flips its indicator by its own rule before the click
    // arrives; the list's state is the one to show.
    horizontalHeader()->setSortIndicatorShown(m_list.IsSorted());
    horizontalHeader()->setSortIndicator(m_list.SortKey(), m_list.SortOrder());
}
