// The window for users of the keyboard and of screen readers, on a desktop
// whose font is larger than the one its sizes were drawn for, and the
// status bar's messages, which hold only while they are true.

#include "windowfixture.h"
#include "modalanswerer.h"
#include "statusmessages.h"

#include <QAccessible>
#include <QAction>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QListWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QtTest>

namespace {
QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

void recordOneReading(WindowFixture &f)
{
    f.driver.control->preset(QStringLiteral("outputOn"), true);
    f.driver.control->preset(QStringLiteral("infinite"), true);
    f.deliver(WindowFixture::reading(12.0));
}
} // namespace

class TestWindowAccess : public QObject
{
    Q_OBJECT
private slots:
    void tabReachesEveryControlAndPassesTheTables();
    void shortcutsTriggerTheirCommands_data();
    void shortcutsTriggerTheirCommands();
    void enterSendsTheSetPointAtOnce();
    void screenReaderNamesFollowTheDisplays();
    void columnsFitTheTimeInALargeFontAndKeepDraggedWidths();
    void statusMessagesHoldOnlyWhileTrue();
    void manualWithoutViewerShowsWhereItIs();
};

void TestWindowAccess::tabReachesEveryControlAndPassesTheTables()
{
    WindowFixture f;
    recordOneReading(f); // a table with cells, which Tab must not walk
    QApplication::setActiveWindow(f.window.data());
    QVERIFY(QTest::qWaitForWindowActive(f.window.data()));
    QWidget *start = f.find<QToolBar>(QStringLiteral("mainToolBar"))->widgetForAction(f.find<QAction>("actConnect"));
    start->setFocus(Qt::TabFocusReason);
    QStringList reached;
    for (int i = 0; i < 100 && (i == 0 || QApplication::focusWidget() != start); ++i) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(!accessibleName(focus).isEmpty());
        reached << (focus->objectName().isEmpty() ? accessibleName(focus) : focus->objectName());
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(QApplication::focusWidget(), start); // round the window and back
    const QStringList expected = {"Connect", "Options", "Manual", "Close", "btnM1", "btnM2", "btnM3", "btnM4",
                                  "btnM5", "btnCh1Sel", "btnCh2Sel", "btnSer", "btnOutput", "btnPara", "btnCh3Sel",
                                  "spinVolt", "sliderVolt", "spinCurr", "sliderCurr", "Delete", "Export"};
    QCOMPARE(reached.mid(0, expected.size()), expected);
    QCOMPARE(reached.count(QStringLiteral("tableViewCH1")), 1);
}

void TestWindowAccess::shortcutsTriggerTheirCommands_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("connect") << "actConnect" << QKeySequence(Qt::CTRL | Qt::Key_K);
    QTest::newRow("options") << "actionOptions" << QKeySequence(Qt::CTRL | Qt::Key_Comma);
    QTest::newRow("manual") << "actionManual" << QKeySequence(Qt::Key_F1);
    QTest::newRow("delete") << "actionDelete" << QKeySequence(Qt::Key_Delete);
    QTest::newRow("export") << "actionExport" << QKeySequence(Qt::CTRL | Qt::Key_E);
    QTest::newRow("chart picture") << "actionSaveImage" << QKeySequence(Qt::CTRL | Qt::Key_S);
    QTest::newRow("close") << "actionClose" << QKeySequence(Qt::CTRL | Qt::Key_Q);
}

void TestWindowAccess::shortcutsTriggerTheirCommands()
{
    QFETCH(QString, action);
    QFETCH(QKeySequence, keys);
    WindowFixture f;
    QApplication::setActiveWindow(f.window.data());
    QVERIFY(QTest::qWaitForWindowActive(f.window.data()));
    auto command = f.find<QAction>(action);
    QVERIFY(command->toolTip().endsWith(QStringLiteral("(%1)").arg(keys.toString(QKeySequence::NativeText))));
    QSignalSpy triggered(command, &QAction::triggered);
    ModalAnswerer answerer(ModalAnswerer::closeWith(QMessageBox::No));
    f.find<QTableView>(QStringLiteral("tableViewCH1"))->setFocus();
    QTest::keySequence(QApplication::focusWidget(), keys);
    QCOMPARE(triggered.count(), 1);
}

void TestWindowAccess::enterSendsTheSetPointAtOnce()
{
    WindowFixture f;
    auto spin = f.find<QDoubleSpinBox>(QStringLiteral("spinVolt"));
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, QStringLiteral("7.5"));
    QTest::keyClick(spin, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(f.commands(), QStringList{QStringLiteral("setVoltage(7.5)")});
}

void TestWindowAccess::screenReaderNamesFollowTheDisplays()
{
    WindowFixture f;
    QCOMPARE(accessibleName(f.find<QWidget>(QStringLiteral("lcdCh1Volt"))),
             QStringLiteral("CH1 voltage, no instrument connected"));
    f.driver.emitSignal("updateInstrument", Q_ARG(quint8, 2));
    f.driver.emitSignal("updateOutput", Q_ARG(bool, true));
    recordOneReading(f);
    const QList<QPair<const char *, const char *>> names = {
        {"lcdCh1Volt", "CH1 measured voltage 12.00 V"}, {"lcdCh2Curr", "CH2 measured current 0.500 A"},
        {"lcdCh3Volt", "CH3 measured voltage 14.00 V"}, {"lcdOutput", "Output on"},
        {"spinVolt", "CH2 voltage set point"},           {"sliderCurr", "CH2 current set point slider"},
        {"tableViewCH3", "CH3 record table"},            {"chartCH2Power", "CH2 power chart"},
        {"btnM4", "Memory 4"},
    };
    for (const auto &name : names)
        QCOMPARE(accessibleName(f.find<QWidget>(QLatin1String(name.first))), QLatin1String(name.second));
    QAccessibleInterface *slider = QAccessible::queryAccessibleInterface(f.find<QWidget>(QStringLiteral("sliderVolt")));
    QVERIFY(!slider->text(QAccessible::Description).isEmpty());
}

void TestWindowAccess::columnsFitTheTimeInALargeFontAndKeepDraggedWidths()
{
    const QFont previous = QApplication::font();
    QFont large = previous;
    large.setPointSize(16);
    QApplication::setFont(large);
    const QList<int> reference = {50, 130, 100, 100, 100, 60, 60};
    {
        WindowFixture f;
        for (QTableView *table : f.window->findChildren<QTableView *>(QRegularExpression("^tableViewCH"))) {
            const int margins = 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1);
            const int timeWidth = table->fontMetrics().horizontalAdvance(QStringLiteral("2026-12-09 23:59:59"));
            QVERIFY2(table->columnWidth(1) >= timeWidth + margins, qPrintable(table->objectName()));
            for (int column = 0; column < reference.size(); ++column) {
                const QString title = table->model()->headerData(column, Qt::Horizontal).toString();
                QVERIFY(table->columnWidth(column) >= reference.at(column));
                QVERIFY(table->columnWidth(column) >= table->horizontalHeader()->fontMetrics().horizontalAdvance(title));
            }
        }
        // A dragged width goes to every table and comes back at the next start.
        f.find<QTableView>(QStringLiteral("tableViewCH2"))->horizontalHeader()->resizeSection(1, 321);
        QCOMPARE(f.find<QTableView>(QStringLiteral("tableViewCH1"))->columnWidth(1), 321);
        f.window.reset(new MainWindow);
        QCOMPARE(f.find<QTableView>(QStringLiteral("tableViewCH3"))->columnWidth(1), 321);
        QVERIFY(f.find<QTableView>(QStringLiteral("tableViewCH3"))->columnWidth(2) > reference.at(2));
    }
    QApplication::setFont(previous);
}

void TestWindowAccess::statusMessagesHoldOnlyWhileTrue()
{
    WindowFixture f;
    QStatusBar *bar = f.window->statusBar();
    f.driver.emitSignal("message", Q_ARG(QString, "The serial port /dev/ttyS0 cannot be opened: Permission denied"));
    for (const char *step : {"Permission denied.", "dialout", "70-luma4200.rules"})
        QVERIFY2(bar->currentMessage().contains(QLatin1String(step)), qPrintable(bar->currentMessage()));
    f.driver.emitSignal("opened");
    f.driver.emitSignal("updateVersion", Q_ARG(QString, "1.0"));
    QCOMPARE(bar->currentMessage(), QStringLiteral("Connected to LUMA4200, firmware 1.0."));

    f.driver.control->preset(QStringLiteral("samplePoints"), 1);
    f.driver.control->preset(QStringLiteral("outputOn"), true);
    f.deliver(WindowFixture::reading());
    f.deliver(WindowFixture::reading());
    QVERIFY(bar->currentMessage().startsWith(QLatin1String("Recording stopped")));
    f.driver.control->preset(QStringLiteral("infinite"), true);
    f.deliver(WindowFixture::reading());
    QCOMPARE(bar->currentMessage(), QStringLiteral("Connected to LUMA4200, firmware 1.0."));

    f.driver.emitSignal("message", Q_ARG(QString, "The USB instrument /tmp/bus failed: QLocalSocket: Remote closed"));
    f.driver.emitSignal("closed");
    const QString lost = bar->currentMessage();
    QVERIFY2(QRegularExpression(QStringLiteral("^The link to the instrument was lost at \\d\\d:\\d\\d:\\d\\d: The USB "
                                               "instrument /tmp/bus failed: QLocalSocket: Remote closed\\. .*Connect"))
                 .match(lost).hasMatch(), qPrintable(lost));
    // Reconnected, and then disconnected by the user: nothing is left to say.
    f.driver.emitSignal("opened");
    f.find<QAction>(QStringLiteral("actDisconnect"))->trigger();
    f.driver.emitSignal("closed");
    QCOMPARE(bar->currentMessage(), QString());

    auto messages = f.window->findChild<StatusMessages *>();
    for (int i = 0; i < 60; ++i)
        messages->show(StatusMessages::Condition::ChartImage, QString::number(i));
    QCOMPARE(messages->history().size(), 50);
    QCOMPARE(messages->history().last().text, QStringLiteral("59"));
    QTest::mouseClick(bar, Qt::LeftButton);
    auto history = f.window->findChild<QDialog *>(QStringLiteral("dlgMessageHistory"));
    QVERIFY(history && history->isVisible());
    auto list = history->findChild<QListWidget *>();
    QCOMPARE(list->count(), 50);
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d  59$"))
                .match(list->item(0)->text()).hasMatch());
}

void TestWindowAccess::manualWithoutViewerShowsWhereItIs()
{
    WindowFixture f;
    ModalAnswerer answerer;
    f.find<QAction>(QStringLiteral("actionManual"))->trigger();
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY2(answerer.texts.first().endsWith(QCoreApplication::applicationDirPath() + "/Software User Manual.pdf"),
             qPrintable(answerer.texts.first()));
}

QTEST_MAIN(TestWindowAccess)
#include "tst_windowaccess.moc"
