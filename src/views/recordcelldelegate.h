#pragma once

#include <QStyledItemDelegate>

// Paints one cell of the record list: the style draws its background,
// selection and focus, and the text goes on top as one line, elided at the
// right as the style would. The style itself lays a cell's text out several
// times over to place it; a sort repaints every visible cell, so that work
// showed in every header click.
class RecordCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
