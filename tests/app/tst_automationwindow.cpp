// The automation in the window over the test driver: the front panel's own
// command stops a sequence and the output timer at once, closing asks while
// a sequence runs, and a stop condition holds recording until resumed.

#include "windowfixture.h"
#include "modalanswerer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTimeEdit>
#include <QtTest>

class TestAutomationWindow : public QObject
{
    Q_OBJECT
private slots:
    void userCommandStopsSequenceAndTimer();
    void closingAsksWhileASequenceRuns();
    void conditionStopsRecordingUntilResumed();

private:
    static void click(WindowFixture &f, const char *name)
    {
        QTest::mouseClick(f.find<QPushButton>(QString::fromLatin1(name)), Qt::LeftButton);
    }
};

void TestAutomationWindow::userCommandStopsSequenceAndTimer()
{
    WindowFixture f;
    f.driver.control->preset(QStringLiteral("currentChannel"), 1);
    f.find<QAction>(QStringLiteral("actionSequence"))->trigger();
    QVERIFY(f.find<QDockWidget>(QStringLiteral("dockSequence"))->isVisible());
    click(f, "btnAddStep"); // 5 V, 1 A for 10 s
    click(f, "btnSeqStart");
    f.find<QTimeEdit>(QStringLiteral("timeOutputTimer"))->setTime(QTime(1, 0));
    click(f, "btnTimerStart");
    QTRY_COMPARE(f.commands(), (QStringList{"setVoltage(5)", "setCurrent(1)"}));
    QVERIFY(f.find<QLabel>(QStringLiteral("lblTimerRemaining"))->text().endsWith(QStringLiteral(" left")));

    f.driver.control->clearCalls();
    click(f, "btnOutput");
    QVERIFY(f.window->statusBar()->currentMessage().contains(QStringLiteral("a command from the front panel")));
    QTRY_VERIFY(f.find<QPushButton>(QStringLiteral("btnSeqStart"))->isEnabled());
    QCOMPARE(f.find<QLabel>(QStringLiteral("lblSeqState"))->text(), QStringLiteral("Not running."));
    QCOMPARE(f.find<QLabel>(QStringLiteral("lblTimerRemaining"))->text(), QString());
    QCOMPARE(f.commands(), QStringList{QStringLiteral("setOutput(true)")});
}

void TestAutomationWindow::closingAsksWhileASequenceRuns()
{
    WindowFixture f;
    f.driver.control->preset(QStringLiteral("currentChannel"), 1);
    f.find<QAction>(QStringLiteral("actionSequence"))->trigger();
    click(f, "btnAddStep");
    click(f, "btnSeqStart");
    {
        ModalAnswerer answerer(ModalAnswerer::closeWith(QMessageBox::No));
        f.window->close();
        QCOMPARE(answerer.texts, QStringList{QStringLiteral("A sequence is running. Stop it and close the window?")});
    }
    QVERIFY(f.window->isVisible());
    ModalAnswerer answerer(ModalAnswerer::closeWith(QMessageBox::Yes));
    f.window->close();
    QVERIFY(!f.window->isVisible());
    QVERIFY(f.find<QPushButton>(QStringLiteral("btnSeqStart"))->isEnabled());
}

void TestAutomationWindow::conditionStopsRecordingUntilResumed()
{
    WindowFixture f;
    f.driver.control->preset(QStringLiteral("outputOn"), true);
    f.driver.control->preset(QStringLiteral("infinite"), true);
    f.find<QAction>(QStringLiteral("actionSequence"))->trigger();
    // CH1 voltage above 12.5 V for 0 s → stop recording, nothing else.
    f.find<QComboBox>(QStringLiteral("cbCondQuantity"))->setCurrentIndex(0);
    f.find<QComboBox>(QStringLiteral("cbCondDirection"))->setCurrentIndex(1);
    f.find<QDoubleSpinBox>(QStringLiteral("spinCondValue"))->setValue(12.5);
    f.find<QCheckBox>(QStringLiteral("chkCondOutputOff"))->setChecked(false);
    f.find<QCheckBox>(QStringLiteral("chkCondStopRecording"))->setChecked(true);
    click(f, "btnCondAdd");
    auto table = f.find<QTableView>(QStringLiteral("tableViewCH1"));
    f.deliver(WindowFixture::reading(12.0));
    f.deliver(WindowFixture::reading(13.0)); // meets it: not recorded
    f.deliver(WindowFixture::reading(12.0));
    QCOMPARE(table->model()->rowCount(), 1);
    QVERIFY(f.window->statusBar()->currentMessage().startsWith(QStringLiteral("Stop condition met: CH1 voltage above 12.5 V")));
    QCOMPARE(f.commands(), QStringList()); // no output off asked for
    auto resume = f.find<QPushButton>(QStringLiteral("btnResumeRecording"));
    QVERIFY(resume->isEnabled());
    QTest::mouseClick(resume, Qt::LeftButton);
    f.deliver(WindowFixture::reading(13.0)); // the condition fired once; recording goes on
    QCOMPARE(table->model()->rowCount(), 2);
    QVERIFY(!resume->isEnabled());
}

QTEST_MAIN(TestAutomationWindow)
#include "tst_automationwindow.moc"
