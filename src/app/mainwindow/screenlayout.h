#pragma once

#include <QObject>

class ScreenDesign;
class QWidget;

// The layout rules of the main window: on every resize of the client area
// the list, the bands around it, the frames and the lines follow the new
// size; nothing else moves. The pass stops at the first size that would be
// negative, so a very small window keeps the rest of its earlier layout.
class ScreenLayout : public QObject
{
    Q_OBJECT

public:
    ScreenLayout(QWidget *client, ScreenDesign &design);

    // One pass for a client area of W by H twips.
    void Apply(int widthTwips, int heightTwips);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_client;
    ScreenDesign &m_design;
};
