#pragma once

#include <QTableView>

class RecordList;

// The record list `ListView1`: a view over the record list model sharing its
// selection. A row is chosen on the button release that follows a press on
// a row, never by keyboard moves.
class RecordListView : public QTableView
{
    Q_OBJECT

public:
    explicit RecordListView(RecordList &list, QWidget *parent = nullptr);

    void SetGridLines(bool on);
    bool GridLines() const;
    // Set by a press on a row, cleared when a left release chooses it.
    bool ItemClicked() const;

signals:
    void rowChosen(int position);
    void popupRequested(const QPoint &globalPosition);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void ColumnClick(int section);

    RecordList &m_list;
    bool m_itemClicked = false;
};
