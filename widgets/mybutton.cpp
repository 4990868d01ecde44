#include "mybutton.h"

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
    timerId = startTimer(kLongPressMs, Qt::CoarseTimer);
}

void MyButton::slotReleased()
{
    if (timerId == 0)
        return; // the long press has already been reported
    killTimer(timerId);
    timerId = 0;
    emit shortPressed();
}

void MyButton::timerEvent(QTimerEvent *)
{
    // Stopped at its first expiry, so a held button reports one long press.
    killTimer(timerId);
    timerId = 0;
    emit longPressed();
}
