#include "mybutton.h"

#include <QTimerEvent>

namespace {
constexpr int kLongPressMs = 1000;
}

MyButton::MyButton(QWidget *parent)
    : QPushButton(parent), timerId(0)
{
    connect(this, &QPushButton::pressed, this, &MyButton::slotPressed);
    connect(this, &QPushButton::released, this, &MyButton::slotReleased);
}

void MyButton::slotPressed()
{
    // A press that ended without a release signal may have left its timer running.
    stopPressTimer();
    timerId = startTimer(kLongPressMs, Qt::CoarseTimer);
}

void MyButton::slotReleased()
{
    if (timerId == 0)
        return; // the long press has already been reported
    stopPressTimer();
    emit shortPressed();
}

void MyButton::timerEvent(QTimerEvent *event)
{
    // The push button runs timers of its own (animateClick(), auto-repeat).
    if (timerId == 0 || event->timerId() != timerId) {
        QPushButton::timerEvent(event);
        return;
    }
    // Stopped at its first expiry, so a held button reports one long press.
    stopPressTimer();
    // A press released outside the button, without a move in between, leaves
    // the button up without a released() signal: that press is over.
    if (isDown())
        emit longPressed();
}

void MyButton::stopPressTimer()
{
    if (timerId != 0)
        killTimer(timerId);
    timerId = 0;
}
