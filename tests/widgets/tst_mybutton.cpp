#include "mybutton.h"

#include <QSignalSpy>
#include <QtTest>

class TestMyButton : public QObject
{
    Q_OBJECT
private slots:
    void shortPressEmitsOnReleaseOnly();
    void longPressEmitsWhileHeldAndReleaseAddsNothing();
    void spaceKeyPressCountsLikeTheMouse();
    void disabledButtonEmitsNothing();
    void eachPressStartsANewTimer();
};

namespace {
constexpr int kLongPressMs = 1000;
}

void TestMyButton::shortPressEmitsOnReleaseOnly()
{
    MyButton button(nullptr);
    QSignalSpy shortSpy(&button, &MyButton::shortPressed);
    QSignalSpy longSpy(&button, &MyButton::longPressed);
    QSignalSpy clickSpy(&button, &QPushButton::clicked);

    QTest::mousePress(&button, Qt::LeftButton);
    QCOMPARE(shortSpy.count(), 0);
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(), 100);
    QCOMPARE(shortSpy.count(), 1);
    QCOMPARE(clickSpy.count(), 1);
    // No late long press from a timer left running.
    QTest::qWait(kLongPressMs + 200);
    QCOMPARE(longSpy.count(), 0);
    QCOMPARE(shortSpy.count(), 1);
}

void TestMyButton::longPressEmitsWhileHeldAndReleaseAddsNothing()
{
    MyButton button(nullptr);
    QSignalSpy shortSpy(&button, &MyButton::shortPressed);
    QSignalSpy longSpy(&button, &MyButton::longPressed);
    QSignalSpy clickSpy(&button, &QPushButton::clicked);

    QTest::mousePress(&button, Qt::LeftButton);
    QTest::qWait(kLongPressMs / 2);
    QCOMPARE(longSpy.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(longSpy.count(), 1, kLongPressMs * 2);
    QVERIFY(button.isDown());
    QTest::qWait(kLongPressMs + 200); // held on: still one long press
    QCOMPARE(longSpy.count(), 1);
    QTest::mouseRelease(&button, Qt::LeftButton);
    QCOMPARE(shortSpy.count(), 0);
    QCOMPARE(longSpy.count(), 1);
    QCOMPARE(clickSpy.count(), 1);
}

void TestMyButton::spaceKeyPressCountsLikeTheMouse()
{
    MyButton button(nullptr);
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    button.setFocus();
    QSignalSpy shortSpy(&button, &MyButton::shortPressed);
    QTest::keyPress(&button, Qt::Key_Space);
    QTest::keyRelease(&button, Qt::Key_Space);
    QCOMPARE(shortSpy.count(), 1);
}

void TestMyButton::disabledButtonEmitsNothing()
{
    MyButton button(nullptr);
    button.setEnabled(false);
    QSignalSpy shortSpy(&button, &MyButton::shortPressed);
    QSignalSpy longSpy(&button, &MyButton::longPressed);
    QTest::mousePress(&button, Qt::LeftButton);
    QTest::qWait(kLongPressMs + 200);
    QTest::mouseRelease(&button, Qt::LeftButton);
    QCOMPARE(shortSpy.count(), 0);
    QCOMPARE(longSpy.count(), 0);
}

void TestMyButton::eachPressStartsANewTimer()
{
    MyButton button(nullptr);
    QSignalSpy shortSpy(&button, &MyButton::shortPressed);
    QSignalSpy longSpy(&button, &MyButton::longPressed);
    // Three quick presses spread over more than a second: each is short.
    for (int i = 0; i < 3; ++i) {
        QTest::mousePress(&button, Qt::LeftButton);
        QTest::qWait(kLongPressMs / 2);
        QTest::mouseRelease(&button, Qt::LeftButton);
    }
    QCOMPARE(shortSpy.count(), 3);
    QCOMPARE(longSpy.count(), 0);
}

QTEST_MAIN(TestMyButton)
#include "tst_mybutton.moc"
