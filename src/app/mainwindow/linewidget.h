#pragma once

#include <QLine>
#include <QWidget>

// A decorative line of a designed window (`Line1`, `Line2`), given by its two
// end points in twips relative to the parent. The layout moves the ends; the
// widget covers just the line.
class LineWidget : public QWidget
{
    Q_OBJECT

public:
    explicit LineWidget(const QLine &twips, QWidget *parent = nullptr);

    QLine Ends() const { return m_twips; }
    void SetEnds(const QLine &twips);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void PlaceOverLine();

    QLine m_twips;
};
