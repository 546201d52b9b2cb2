#pragma once

#include <QTableView>

class RecordList;

// The record list `ListView1`: a view over the record list sharing its
// selection. A row is chosen by the button release that follows a press on
// a row (`itemClicked`), never by moving the selection with the keyboard.
// Header clicks apply the list's own sort rule, one order flipped by every
// column, so the view's built-in sorting stays off.
class RecordListView : public QTableView
{
    Q_OBJECT

public:
    explicit RecordListView(RecordList &list, QWidget *parent = nullptr);

    void SetGridLines(bool on);
    bool GridLines() const;
    // Set by a press on a row, cleared when a left release has chosen it.
    bool ItemClicked() const;

signals:
    // Left-button release after a row press: the selected row's position.
    void rowChosen(int position);
    // Right-button release after a row press; the row stays pending.
    void popupRequested(const QPoint &globalPosition);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;

private:
    void ColumnClick(int section);
    void ShowSortIndicator();

    RecordList &m_list;
    bool m_itemClicked = false;
};
