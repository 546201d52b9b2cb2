#include "recordlistview.h"

#include "editing/recordlist.h"

#include <QMouseEvent>

RecordListView::RecordListView(RecordList &list, QWidget *parent)
    : QTableView(parent)
    , m_list(list)
{
    setModel(&m_list);
    setSelectionModel(m_list.SelectionModel());
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
}

void RecordListView::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
}

void RecordListView::ColumnClick(int section)
{
    m_list.ColumnClick(section);
}
