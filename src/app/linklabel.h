#pragma once

#include <QLabel>

// A web link drawn as underlined text: a click on it opens it, and so do
// Enter, Return and Space once Tab has reached it. A screen reader hears a
// link.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    LinkLabel(const QString &caption, QWidget *parent);

signals:
    void activated();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
