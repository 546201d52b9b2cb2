#pragma once

#include <QTimer>
#include <QWidget>

#include <chrono>

// The splash window `splash`, shown while the program starts. Its timer
// `Timer1` fires once, the given time after the window was loaded.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SplashWindow(std::chrono::milliseconds wait, QWidget *parent = nullptr);

    // Processes window events until the window has been drawn on screen, or
    // until `Timer1` has fired where the screen never shows it.
    void WaitUntilDrawn();
    // Processes window events until `Timer1` has fired.
    void WaitForTimer();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer m_timer1;
    bool m_drawn = false;
};
