#include "recordcelldelegate.h"

#include <QApplication>
#include <QPainter>

#include <utility>

namespace {

QPalette::ColorGroup ColorGroupOf(const QStyleOptionViewItem &cell)
{
    if (!cell.state.testFlag(QStyle::State_Enabled))
        return QPalette::Disabled;
    return cell.state.testFlag(QStyle::State_Active) ? QPalette::Normal : QPalette::Inactive;
}

} // namespace

void RecordCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QString text = std::exchange(cell.text, QString());
    const QWidget *widget = cell.widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    if (text.isEmpty())
        return;

    // The margins and colours the style gives a cell's text.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = cell.rect.adjusted(margin, 0, -margin, 0);
    const QPalette::ColorRole role =
        cell.state.testFlag(QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
    painter->save();
    painter->setFont(cell.font);
    painter->setPen(cell.palette.color(ColorGroupOf(cell), role));
    painter->drawText(textRect, int(cell.displayAlignment) | Qt::TextSingleLine,
                      cell.fontMetrics.elidedText(text, cell.textElideMode, textRect.width()));
    painter->restore();
}
