#pragma once

#include <QWidget>

// Tells a screen reader what a command did without showing anything: a
// zero-sized notification, shown anew with each text. AT-SPI carries that as
// a "showing" change of a notification, which a screen reader speaks wherever
// the focus is.
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *parent);

    // Spoken once the current event is handled, so that it follows the focus
    // change a command ends with instead of being cut off by it.
    void Announce(const QString &text);

private:
    void AnnounceNow(const QString &text);
};
