#pragma once

#include <QTableView>

class RecordList;

// The record list `ListView1`: a view over the record list sharing its
// selection. A row is chosen by the button release that follows a press on
// a row (`itemClicked`), or by Enter on the current row; moving the
// selection with the keyboard never chooses one.
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
    // Where a menu opened from the keyboard appears: below the current row,
    // or at the top of the list when there is none.
    QPoint KeyboardPopupPosition() const;

signals:
    // Left-button release after a row press, or Enter: the selected row's
    // position.
    void rowChosen(int position);
    // Right-button release after a row press; the row stays pending.
    void popupRequested(const QPoint &globalPosition);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;

private:
    void ColumnClick(int section);
    void ShowSortIndicator();
    void ChooseCurrentRow();

    RecordList &m_list;
    bool m_itemClicked = false;
};
