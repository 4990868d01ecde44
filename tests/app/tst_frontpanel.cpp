// The front panel against the test driver: connecting, the commands each
// control sends, and the display of what the instrument reports.

#include "windowfixture.h"
#include "modalanswerer.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QLCDNumber>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTableView>
#include <QtTest>

namespace {
// The set-point delay and a margin for a loaded machine.
constexpr int kSetPointDelayMs = 2000;
constexpr int kWaitForCommandMs = kSetPointDelayMs + 1500;
constexpr int kLongPressMs = 1000;

// Presses OK in the connection dialog after picking the given radio button,
// then answers any message box with OK.
ModalAnswerer::Answer acceptConnection(const char *radioButton = nullptr)
{
    return [radioButton](QWidget *modal) {
        if (auto box = qobject_cast<QMessageBox *>(modal)) {
            box->button(QMessageBox::Ok)->click();
            return;
        }
        if (radioButton)
            modal->findChild<QRadioButton *>(QLatin1String(radioButton))->click();
        modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    };
}

// Counts the style changes of the objects it watches.
class StyleChangeCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::StyleChange)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

int debugLinesSeen = 0;
void countUsbDebugLines(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg && message == QLatin1String("MainWindow::slotUSBRefreshed 2"))
        ++debugLinesSeen;
}
} // namespace

class TestFrontPanel : public QObject
{
    Q_OBJECT
private slots:
    void cancelledDialogSendsNothing();
    void refusedConnectionKeepsConnectEnabled();
    void usbConnectionFollowsOpenedAndClosed();
    void usbRefreshConnectionsAreRemovedByDisconnect();
    void rs232ConnectionStoresThePortName();

    void outputClickSendsTheOppositeOfTheDriverState();
    void trackingButtons();
    void channelButtonSendsButDoesNotMoveTheHighlight();
    void memoryPresses();
    void memoryButtonsAnimatedAccessibleOrReleasedOutside();
    void sliderDragSendsOneVoltageAfterRest();
    void typedCurrentIsSentAndSliderStays();
    void readBackIsIgnoredDuringAChangeAndAppliedAfter();

    void channelLimitsNeverSendASetPoint();
    void channelZeroHighlightsNothing();
    void outputAndFlagDisplays();
    void trackingModeDisplay();
    void displaysFollowEachDelivery();
    void lostInstrumentShowsNoLiveStateAndSaysWhy();
};

void TestFrontPanel::cancelledDialogSendsNothing()
{
    WindowFixture f;
    ModalAnswerer answerer(ModalAnswerer::closeWith(QMessageBox::Cancel));
    f.find<QAction>(QStringLiteral("actConnect"))->trigger();
    QCOMPARE(answerer.modalCount, 1);
    QCOMPARE(f.driver.control->calls(), (QStringList{"portType()", "serialPortNum()"}));
}

void TestFrontPanel::refusedConnectionKeepsConnectEnabled()
{
    WindowFixture f;
    f.driver.control->preset(QStringLiteral("openResult"), false);
    ModalAnswerer answerer(acceptConnection("rbUSB"));
    f.find<QAction>(QStringLiteral("actConnect"))->trigger();
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("Failed to connect.")});
    QVERIFY(f.find<QAction>(QStringLiteral("actConnect"))->isEnabled());
    QVERIFY(!f.find<QAction>(QStringLiteral("actDisconnect"))->isEnabled());
}

void TestFrontPanel::usbConnectionFollowsOpenedAndClosed()
{
    WindowFixture f;
    f.driver.control->preset(QStringLiteral("portType"), 2);
    ModalAnswerer answerer(acceptConnection("rbUSB"));
    f.find<QAction>(QStringLiteral("actConnect"))->trigger();
    QCOMPARE(answerer.texts, QStringList());
    QCOMPARE(f.driver.control->calls(),
             (QStringList{"portType()", "serialPortNum()", "setPortType(0)", "portType()", "open(device)"}));
    // The actions follow the driver's signals, not the result of open().
    QVERIFY(f.find<QAction>(QStringLiteral("actConnect"))->isEnabled());
    f.driver.emitSignal("opened");
    QVERIFY(!f.find<QAction>(QStringLiteral("actConnect"))->isEnabled());
    QVERIFY(f.find<QAction>(QStringLiteral("actDisconnect"))->isEnabled());
    f.driver.emitSignal("closed");
    QVERIFY(f.find<QAction>(QStringLiteral("actConnect"))->isEnabled());
    QVERIFY(!f.find<QAction>(QStringLiteral("actDisconnect"))->isEnabled());
}

void TestFrontPanel::usbRefreshConnectionsAreRemovedByDisconnect()
{
    WindowFixture f;
    for (int attempt = 0; attempt < 2; ++attempt) {
        ModalAnswerer answerer(acceptConnection("rbUSB"));
        f.find<QAction>(QStringLiteral("actConnect"))->trigger();
    }
    debugLinesSeen = 0;
    QtMessageHandler previous = qInstallMessageHandler(countUsbDebugLines);
    f.driver.emitSignal("usbRefreshed", Q_ARG(int, 2));
    QCOMPARE(debugLinesSeen, 0); // debug output of its category is off by default
    QLoggingCategory::setFilterRules(QStringLiteral("luma.window.debug=true"));
    f.driver.emitSignal("usbRefreshed", Q_ARG(int, 2));
    QCOMPARE(debugLinesSeen, 2); // one line per connect attempt

    f.driver.control->clearCalls();
    f.find<QAction>(QStringLiteral("actDisconnect"))->trigger();
    f.driver.emitSignal("usbRefreshed", Q_ARG(int, 2));
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    QCOMPARE(debugLinesSeen, 2);
    QCOMPARE(f.driver.control->calls(), QStringList{QStringLiteral("close()")});
}

void TestFrontPanel::rs232ConnectionStoresThePortName()
{
    WindowFixture f;
    f.driver.control->preset(QStringLiteral("serialPortNum"), QStringLiteral("no-such-port"));
    QString listed;
    ModalAnswerer answerer([&listed](QWidget *modal) {
        auto ports = modal->findChild<QComboBox *>(QStringLiteral("cbRS232No"));
        listed = ports->currentText(); // a stored name not in the list is not selected
        acceptConnection("rbRS232")(modal);
    });
    f.find<QAction>(QStringLiteral("actConnect"))->trigger();
    QVERIFY(listed != QLatin1String("no-such-port"));
    QCOMPARE(f.driver.control->calls(),
             (QStringList{"portType()", "serialPortNum()", "setPortType(2)", "portType()",
                          QStringLiteral("setSerialPortNum(%1)").arg(listed), "serialPortNum()",
                          QStringLiteral("setPortName(%1)").arg(listed), "open(device)"}));
}

void TestFrontPanel::outputClickSendsTheOppositeOfTheDriverState()
{
    WindowFixture f;
    auto output = f.find<QPushButton>(QStringLiteral("btnOutput"));
    QTest::mouseClick(output, Qt::LeftButton);
    f.driver.control->preset(QStringLiteral("outputOn"), true);
    QTest::mouseClick(output, Qt::LeftButton);
    QCOMPARE(f.commands(), (QStringList{"setOutput(true)", "setOutput(false)"}));
    // The label waits for the instrument's report.
    QCOMPARE(f.find<QLabel>(QStringLiteral("lcdOutput"))->text(), QStringLiteral("OFF"));
}

void TestFrontPanel::trackingButtons()
{
    WindowFixture f;
    auto ser = f.find<QPushButton>(QStringLiteral("btnSer"));
    auto para = f.find<QPushButton>(QStringLiteral("btnPara"));
    f.driver.emitSignal("updateSPMode", Q_ARG(quint8, 3));
    QTest::mouseClick(ser, Qt::LeftButton);  // series on: back to independent
    QTest::mouseClick(para, Qt::LeftButton); // series on: switch to parallel
    f.driver.emitSignal("updateSPMode", Q_ARG(quint8, 2));
    QTest::mouseClick(ser, Qt::LeftButton);
    QTest::mouseClick(para, Qt::LeftButton);
    QTest::mousePress(para, Qt::LeftButton);
    QTest::qWait(kLongPressMs + 300);
    QTest::mouseRelease(para, Qt::LeftButton);
    QCOMPARE(f.commands(), (QStringList{"setSPMode(0)", "setSPMode(2)", "setSPMode(1)", "setSPMode(0)",
                                        "setSPMode(0)"}));
}

void TestFrontPanel::channelButtonSendsButDoesNotMoveTheHighlight()
{
    WindowFixture f;
    f.driver.emitSignal("updateInstrument", Q_ARG(quint8, 1));
    QTest::mouseClick(f.find<QPushButton>(QStringLiteral("btnCh2Sel")), Qt::LeftButton);
    QCOMPARE(f.commands(), QStringList{QStringLiteral("selectChannel(2)")});
    QVERIFY(f.find<QPushButton>(QStringLiteral("btnCh1Sel"))->styleSheet().contains(QStringLiteral("0,255,0")));
    QVERIFY(f.find<QPushButton>(QStringLiteral("btnCh2Sel"))->styleSheet().isEmpty());
    f.driver.emitSignal("updateInstrument", Q_ARG(quint8, 2));
    QVERIFY(f.find<QPushButton>(QStringLiteral("btnCh1Sel"))->styleSheet().isEmpty());
    QVERIFY(f.find<QPushButton>(QStringLiteral("btnCh2Sel"))->styleSheet().contains(QStringLiteral("0,255,0")));
}

void TestFrontPanel::memoryPresses()
{
    WindowFixture f;
    QTest::mouseClick(f.find<QPushButton>(QStringLiteral("btnM2")), Qt::LeftButton);
    auto m5 = f.find<QPushButton>(QStringLiteral("btnM5"));
    QTest::mousePress(m5, Qt::LeftButton);
    QTest::qWait(kLongPressMs + 300);
    QTest::mouseRelease(m5, Qt::LeftButton);
    QCOMPARE(f.commands(), (QStringList{"memoryShortPress(2)", "memoryLongPress(5)"}));
}

void TestFrontPanel::memoryButtonsAnimatedAccessibleOrReleasedOutside()
{
    WindowFixture f;
    // Both end in the push button's own click timer: one short press each.
    f.find<QPushButton>(QStringLiteral("btnM1"))->animateClick();
    QAccessibleInterface *m2 = QAccessible::queryAccessibleInterface(f.find<QPushButton>(QStringLiteral("btnM2")));
    QVERIFY(m2 && m2->actionInterface());
    m2->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    // Released outside without a move: the toolkit reports no release, and the button is up.
    auto m3 = f.find<QPushButton>(QStringLiteral("btnM3"));
    QTest::mousePress(m3, Qt::LeftButton);
    QTest::mouseRelease(m3, Qt::LeftButton, Qt::NoModifier, QPoint(-20, -20));
    QVERIFY(!m3->isDown());
    QTest::qWait(kLongPressMs + 500);
    QCOMPARE(f.commands(), (QStringList{"memoryShortPress(1)", "memoryShortPress(2)"}));
}

void TestFrontPanel::sliderDragSendsOneVoltageAfterRest()
{
    WindowFixture f;
    auto slider = f.find<QSlider>(QStringLiteral("sliderVolt"));
    auto spin = f.find<QDoubleSpinBox>(QStringLiteral("spinVolt"));
    slider->setSliderDown(true);
    for (int position = 0; position <= 1250; position += 50) {
        slider->setSliderPosition(position);
        QCOMPARE(spin->value(), position / 100.0);
    }
    QElapsedTimer sinceLastMove;
    sinceLastMove.start();
    slider->setSliderDown(false);
    QTest::qWait(kSetPointDelayMs / 2);
    if (sinceLastMove.elapsed() < kSetPointDelayMs - 100) // a busy machine may have slept longer
        QCOMPARE(f.commands(), QStringList());
    QTRY_COMPARE_WITH_TIMEOUT(f.commands(), QStringList{QStringLiteral("setVoltage(12.5)")}, kWaitForCommandMs);
    QTest::qWait(300);
    QCOMPARE(f.commands().size(), 1);
}

void TestFrontPanel::typedCurrentIsSentAndSliderStays()
{
    WindowFixture f;
    f.driver.emitSignal("updateInstrument", Q_ARG(quint8, 1));
    auto spin = f.find<QDoubleSpinBox>(QStringLiteral("spinCurr"));
    auto slider = f.find<QSlider>(QStringLiteral("sliderCurr"));
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, QStringLiteral("1.25"));
    QCOMPARE(spin->value(), 1.25);
    QCOMPARE(slider->value(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(f.commands(), QStringList{QStringLiteral("setCurrent(1.25)")}, kWaitForCommandMs);
}

void TestFrontPanel::readBackIsIgnoredDuringAChangeAndAppliedAfter()
{
    WindowFixture f;
    auto spin = f.find<QDoubleSpinBox>(QStringLiteral("spinVolt"));
    auto slider = f.find<QSlider>(QStringLiteral("sliderVolt"));
    spin->setValue(7.0); // the user's change
    f.driver.emitSignal("updateSource", Q_ARG(quint8, 1), Q_ARG(quint8, 0), Q_ARG(QString, "5.00"));
    QCOMPARE(spin->value(), 7.0);
    QTRY_COMPARE_WITH_TIMEOUT(f.commands(), QStringList{QStringLiteral("setVoltage(7)")}, kWaitForCommandMs);

    // Another channel's read back changes nothing.
    f.driver.emitSignal("updateSource", Q_ARG(quint8, 2), Q_ARG(quint8, 0), Q_ARG(QString, "5.00"));
    QCOMPARE(spin->value(), 7.0);

    // The current channel's read back is applied and sends nothing back.
    f.driver.emitSignal("updateSource", Q_ARG(quint8, 1), Q_ARG(quint8, 0), Q_ARG(QString, "0.29"));
    QCOMPARE(spin->value(), 0.29);
    QCOMPARE(slider->value(), 29);
    // A value the box shows already leaves it alone, and the user's next change still counts.
    f.driver.emitSignal("updateSource", Q_ARG(quint8, 1), Q_ARG(quint8, 0), Q_ARG(QString, "0.2901"));
    f.driver.control->clearCalls();
    QTest::qWait(kSetPointDelayMs + 300);
    QCOMPARE(f.commands(), QStringList());
    spin->setValue(3.0);
    QTRY_COMPARE_WITH_TIMEOUT(f.commands(), QStringList{QStringLiteral("setVoltage(3)")}, kWaitForCommandMs);
}

void TestFrontPanel::channelLimitsNeverSendASetPoint()
{
    WindowFixture f;
    auto spinVolt = f.find<QDoubleSpinBox>(QStringLiteral("spinVolt"));
    auto spinCurr = f.find<QDoubleSpinBox>(QStringLiteral("spinCurr"));
    auto source = [&f](quint8 ch, quint8 kind, const char *value) {
        f.driver.emitSignal("updateSource", Q_ARG(quint8, ch), Q_ARG(quint8, kind), Q_ARG(QString, value));
    };
    source(1, 0, "12.00");
    source(1, 1, "0.800");

    // Channel 3's limits clamp the boxes; the clamped values are not the user's and are never sent.
    f.driver.control->preset(QStringLiteral("currentChannel"), 3);
    f.driver.emitSignal("updateInstrument", Q_ARG(quint8, 3));
    QCOMPARE(spinVolt->value(), 6.0);
    QCOMPARE(spinVolt->decimals(), 1);
    QCOMPARE(f.find<QSlider>(QStringLiteral("sliderVolt"))->maximum(), 600);
    QCOMPARE(spinCurr->value(), 0.0);
    QVERIFY(!spinCurr->isEnabled());
    QVERIFY(!f.find<QSlider>(QStringLiteral("sliderCurr"))->isEnabled());
    QVERIFY(f.find<QPushButton>(QStringLiteral("btnCh3Sel"))->styleSheet().contains(QStringLiteral("0,255,0")));
    // The channel's own set point, which the driver reports next, fills the box.
    source(3, 0, "3.3");
    QCOMPARE(spinVolt->value(), 3.3);

    f.driver.control->preset(QStringLiteral("currentChannel"), 1);
    f.driver.emitSignal("updateInstrument", Q_ARG(quint8, 1));
    source(1, 0, "12.00");
    source(1, 1, "0.800");
    QCOMPARE(spinVolt->value(), 12.0);
    QCOMPARE(spinCurr->value(), 0.8);

    // A set point still waiting goes to the channel it was set for, before the switch.
    spinVolt->setValue(7.0);
    QTest::mouseClick(f.find<QPushButton>(QStringLiteral("btnCh2Sel")), Qt::LeftButton);
    QCOMPARE(f.commands(), (QStringList{"setVoltage(7)", "selectChannel(2)"}));
    QTest::qWait(kSetPointDelayMs + 300);
    QCOMPARE(f.commands(), (QStringList{"setVoltage(7)", "selectChannel(2)"}));
}

void TestFrontPanel::channelZeroHighlightsNothing()
{
    WindowFixture f;
    f.driver.emitSignal("updateInstrument", Q_ARG(quint8, 3));
    f.driver.emitSignal("updateInstrument", Q_ARG(quint8, 0));
    for (int ch = 1; ch <= 3; ++ch)
        QVERIFY(f.find<QPushButton>(QStringLiteral("btnCh%1Sel").arg(ch))->styleSheet().isEmpty());
    QCOMPARE(f.find<QDoubleSpinBox>(QStringLiteral("spinVolt"))->maximum(), 32.0);
    QCOMPARE(f.find<QDoubleSpinBox>(QStringLiteral("spinVolt"))->decimals(), 2);
    QVERIFY(f.find<QDoubleSpinBox>(QStringLiteral("spinCurr"))->isEnabled());
}

void TestFrontPanel::outputAndFlagDisplays()
{
    WindowFixture f;
    auto output = f.find<QLabel>(QStringLiteral("lcdOutput"));
    auto flag1 = f.find<QLabel>(QStringLiteral("lcdCh1Flag"));
    auto flag2 = f.find<QLabel>(QStringLiteral("lcdCh2Flag"));

    f.driver.emitSignal("updateCx", Q_ARG(quint8, 1), Q_ARG(quint8, 1));
    QCOMPARE(flag1->text(), QString()); // output off: no flag

    f.driver.control->preset(QStringLiteral("outputOn"), true);
    f.driver.emitSignal("updateOutput", Q_ARG(bool, true));
    QCOMPARE(output->text(), QStringLiteral("ON"));
    QCOMPARE(output->styleSheet(), QStringLiteral("color:rgb(0,255,0);"));
    QVERIFY(f.find<QPushButton>(QStringLiteral("btnOutput"))->styleSheet().startsWith(QStringLiteral("background-color:rgb(0,255,0)")));
    f.driver.emitSignal("updateCx", Q_ARG(quint8, 1), Q_ARG(quint8, 1));
    f.driver.emitSignal("updateCx", Q_ARG(quint8, 2), Q_ARG(quint8, 0));
    f.driver.emitSignal("updateCx", Q_ARG(quint8, 3), Q_ARG(quint8, 1));
    QCOMPARE(flag1->text(), QStringLiteral("C.C"));
    QCOMPARE(flag2->text(), QStringLiteral("C.V"));

    f.driver.emitSignal("updateOutput", Q_ARG(bool, false));
    QCOMPARE(output->text(), QStringLiteral("OFF"));
    QCOMPARE(output->styleSheet(), QStringLiteral("color:rgb(255,0,0);"));
    QVERIFY(f.find<QPushButton>(QStringLiteral("btnOutput"))->styleSheet().isEmpty());
}

void TestFrontPanel::trackingModeDisplay()
{
    WindowFixture f;
    auto mode = f.find<QLabel>(QStringLiteral("lcdSpMode"));
    auto ser = f.find<QPushButton>(QStringLiteral("btnSer"));
    f.driver.emitSignal("updateSPMode", Q_ARG(quint8, 3));
    QCOMPARE(mode->text(), QStringLiteral("SER"));
    QVERIFY(!ser->styleSheet().isEmpty());
    // Unknown modes are kept but not shown: SER stays, and a short SER press
    // (mode no longer series) switches series on.
    f.driver.emitSignal("updateSPMode", Q_ARG(quint8, 4));
    QCOMPARE(mode->text(), QStringLiteral("SER"));
    QTest::mouseClick(ser, Qt::LeftButton);
    QCOMPARE(f.commands(), QStringList{QStringLiteral("setSPMode(1)")});
    f.driver.emitSignal("updateSPMode", Q_ARG(quint8, 2));
    QCOMPARE(mode->text(), QStringLiteral("PARA"));
    QVERIFY(ser->styleSheet().isEmpty());
    f.driver.emitSignal("updateSPMode", Q_ARG(quint8, 1));
    QCOMPARE(mode->text(), QString());
    QVERIFY(f.find<QPushButton>(QStringLiteral("btnPara"))->styleSheet().isEmpty());
}

void TestFrontPanel::displaysFollowEachDelivery()
{
    WindowFixture f;
    auto ch1 = f.find<QLCDNumber>(QStringLiteral("lcdCh1Volt"));
    auto ch2 = f.find<QLCDNumber>(QStringLiteral("lcdCh2Volt"));
    auto ch3 = f.find<QLCDNumber>(QStringLiteral("lcdCh3Volt"));

    // Output off: the set points are shown.
    QList<DmmData *> records = WindowFixture::reading(12.0);
    static_cast<FakeRecord *>(records[0])->setVoltsText = QStringLiteral("05.00");
    static_cast<FakeRecord *>(records[2])->setVolts = 3.3;
    static_cast<FakeRecord *>(records[2])->setVoltsText = QStringLiteral("3.3");
    f.deliver(records);
    QCOMPARE(ch1->value(), 5.0);
    QCOMPARE(ch3->value(), 3.3);
    QVERIFY(f.find<QLabel>(QStringLiteral("lblCh3Volt33"))->styleSheet().contains(QStringLiteral("0,255,0")));
    QVERIFY(f.find<QLabel>(QStringLiteral("lblCh3Volt50"))->styleSheet().isEmpty());

    // The same channel 3 voltage again re-styles no label: a style sheet
    // costs more than the rest of a reading's display.
    StyleChangeCounter styleChanges;
    for (const char *name : {"lblCh3Volt18", "lblCh3Volt25", "lblCh3Volt33", "lblCh3Volt50"})
        f.find<QLabel>(QLatin1String(name))->installEventFilter(&styleChanges);
    records = WindowFixture::reading(12.0);
    static_cast<FakeRecord *>(records[2])->setVolts = 3.3;
    f.deliver(records);
    QCOMPARE(styleChanges.count, 0);
    records = WindowFixture::reading(12.0);
    static_cast<FakeRecord *>(records[2])->setVolts = 5.0;
    f.deliver(records);
    QVERIFY(f.find<QLabel>(QStringLiteral("lblCh3Volt50"))->styleSheet().contains(QStringLiteral("0,255,0")));
    QVERIFY(f.find<QLabel>(QStringLiteral("lblCh3Volt33"))->styleSheet().isEmpty());

    // Output on: the measured values; a single record updates channel 1 only.
    f.driver.control->preset(QStringLiteral("outputOn"), true);
    f.driver.control->preset(QStringLiteral("samplePoints"), 0); // display only
    f.deliver(WindowFixture::reading(21.0, 1));
    QCOMPARE(ch1->value(), 21.0);
    QCOMPARE(ch2->value(), 0.0);
    QCOMPARE(f.find<QLCDNumber>(QStringLiteral("lcdCh1Curr"))->value(), 0.5);
}

void TestFrontPanel::lostInstrumentShowsNoLiveStateAndSaysWhy()
{
    WindowFixture f;
    f.driver.control->preset(QStringLiteral("outputOn"), true);
    f.driver.emitSignal("updateInstrument", Q_ARG(quint8, 2));
    f.driver.emitSignal("updateOutput", Q_ARG(bool, true));
    f.driver.emitSignal("updateSPMode", Q_ARG(quint8, 3));
    f.driver.emitSignal("updateCx", Q_ARG(quint8, 1), Q_ARG(quint8, 1));
    QList<DmmData *> records = WindowFixture::reading(12.0);
    static_cast<FakeRecord *>(records[2])->setVolts = 3.3;
    f.deliver(records);

    ModalAnswerer answerer;
    f.driver.emitSignal("message", Q_ARG(QString, QStringLiteral("The instrument stopped answering.")));
    f.driver.control->preset(QStringLiteral("outputOn"), false);
    f.driver.emitSignal("closed");
    // The reason stays in the status bar, with the reconnection that follows.
    QVERIFY(f.window->statusBar()->currentMessage().contains(QStringLiteral("The instrument stopped answering.")));
    QCOMPARE(answerer.modalCount, 0);

    auto output = f.find<QLabel>(QStringLiteral("lcdOutput"));
    QCOMPARE(output->text(), QStringLiteral("OFF"));
    QCOMPARE(output->styleSheet(), QString());
    for (const char *plain : {"btnOutput", "btnSer", "btnCh2Sel", "lblCh3Volt33"})
        QVERIFY2(f.find<QWidget>(QLatin1String(plain))->styleSheet().isEmpty(), plain);
    for (const char *label : {"lcdCh1Flag", "lcdCh2Flag", "lcdSpMode"})
        QCOMPARE(f.find<QLabel>(QLatin1String(label))->text(), QString());
    // A display shows "--" when drawing "--" on it changes no pixel.
    for (QLCDNumber *lcd : f.window->findChildren<QLCDNumber *>()) {
        const QImage shown = lcd->grab().toImage();
        lcd->display(QStringLiteral("--"));
        QVERIFY2(lcd->grab().toImage() == shown, qPrintable(lcd->objectName()));
    }
    QCOMPARE(f.find<QTableView>(QStringLiteral("tableViewCH1"))->model()->rowCount(), 1);
    // Until the instrument reports again.
    f.driver.emitSignal("updateOutput", Q_ARG(bool, true));
    QCOMPARE(output->text(), QStringLiteral("ON"));
}

QTEST_MAIN(TestFrontPanel)
#include "tst_frontpanel.moc"
