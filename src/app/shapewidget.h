#pragma once

#include <QWidget>

// A decorative rectangle of a designed window (`Shape1`): an outline drawn
// behind the controls that takes no input.
class ShapeWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ShapeWidget(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
