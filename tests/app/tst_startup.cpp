// The window as it comes up: discovery, the form's first-show state, the
// chart context menu, and the end of an application without a driver.

#include "dmmchart.h"
#include "mainwindow.h"
#include "testdriverhandle.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLCDNumber>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QRandomGenerator>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void titleIsModelAndVersion();
    void firstShowState();
    void idleTextsGoThroughTranslation();
    void toolBarOrderWithStretch();
    void tabsShowTheirFirstPages();
    void tablesHaveModelsAndColumnWidths();
    void sevenChartsAreConfigured();
    void chartContextMenuHoldsOnlySaveAndChartStillSeesTheEvent();
    void closingClosesTheDriver();
    void withoutDriverTheApplicationEndsQuietly_data();
    void withoutDriverTheApplicationEndsQuietly();

private:
    TestDriverHandle driver;
};

// Turns the window's idle display texts into other digits.
class IdleTextTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *text, const char *, int) const override
    {
        if (qstrcmp(context, "MainWindow") != 0)
            return QString();
        return QHash<QString, QString>{{"00.00", "11.11"}, {"0.000", "2.222"}, {"0.0", "3.3"}}.value(text);
    }
};

// Records the context-menu events that reach a chart after the window's filter.
class ContextMenuCounter : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ContextMenu)
            ++count;
        return false;
    }
};

void TestStartup::init()
{
    QVERIFY(driver.isValid());
    driver.control->reset();
    QFile::remove(QCoreApplication::applicationDirPath() + QStringLiteral("/options.xml"));
}

void TestStartup::titleIsModelAndVersion()
{
    MainWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("LUMA4200 v1.0"));
}

void TestStartup::firstShowState()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QVERIFY(window.findChild<QAction *>(QStringLiteral("actConnect"))->isEnabled());
    QVERIFY(!window.findChild<QAction *>(QStringLiteral("actDisconnect"))->isEnabled());
    const QList<QPair<const char *, const char *>> displays = {
        {"lcdCh1Volt", "00.00"}, {"lcdCh1Curr", "0.000"}, {"lcdCh1Power", "00.00"},
        {"lcdCh2Volt", "00.00"}, {"lcdCh2Curr", "0.000"}, {"lcdCh2Power", "00.00"},
        {"lcdCh3Volt", "0.0"}};
    for (const auto &display : displays) {
        auto lcd = window.findChild<QLCDNumber *>(QLatin1String(display.first));
        QVERIFY2(lcd, display.first);
        QCOMPARE(lcd->intValue(), 0);
        QCOMPARE(lcd->digitCount(), display.first == QLatin1String("lcdCh3Volt") ? 3 : 5);
    }
    auto output = window.findChild<QLabel *>(QStringLiteral("lcdOutput"));
    QCOMPARE(output->text(), QStringLiteral("OFF"));
    QVERIFY(output->styleSheet().contains(QStringLiteral("255, 0, 0")));
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("btnOvp"))->isVisible());
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("btnOcp"))->isVisible());
    QVERIFY(window.findChild<QPushButton *>(QStringLiteral("btnOutput"))->isVisible());
    QCOMPARE(window.findChild<QWidget *>(QStringLiteral("frame"))->width(), 412);

    // The front panel keeps its width; the tables and charts take the rest.
    window.resize(1300, 800);
    QTRY_COMPARE(window.findChild<QWidget *>(QStringLiteral("frame"))->width(), 412);
    QVERIFY(window.findChild<QTabWidget *>(QStringLiteral("tabWidgetCHs"))->width() > 800);

    // The show reads the settings, which asks the driver for nothing but its setters.
    for (const QString &call : driver.control->calls())
        QVERIFY2(call.startsWith(QLatin1String("set")), qPrintable(call));
}

void TestStartup::idleTextsGoThroughTranslation()
{
    IdleTextTranslator translator;
    QCoreApplication::installTranslator(&translator);
    MainWindow window;
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(window.findChild<QLCDNumber *>(QStringLiteral("lcdCh1Volt"))->value(), 11.11);
    QCOMPARE(window.findChild<QLCDNumber *>(QStringLiteral("lcdCh2Curr"))->value(), 2.222);
    QCOMPARE(window.findChild<QLCDNumber *>(QStringLiteral("lcdCh3Volt"))->value(), 3.3);
}

void TestStartup::toolBarOrderWithStretch()
{
    MainWindow window;
    window.resize(1000, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto toolBar = window.findChild<QToolBar *>(QStringLiteral("mainToolBar"));
    QCOMPARE(toolBar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);

    QStringList order;
    QWidget *stretch = nullptr;
    for (QAction *action : toolBar->actions()) {
        QWidget *widget = toolBar->widgetForAction(action);
        if (auto button = qobject_cast<QToolButton *>(widget))
            order << button->text();
        else
            order << QStringLiteral("<stretch>"), stretch = widget;
    }
    QCOMPARE(order, (QStringList{"Connect", "Disconnect", "Sequence…", "<stretch>", "Options", "Manual", "Close"}));
    QVERIFY(stretch->width() > 100);
    // Close stands at the right end of the bar.
    QWidget *close = toolBar->widgetForAction(toolBar->actions().last());
    QVERIFY(close->geometry().right() > toolBar->width() - 80);
}

void TestStartup::tabsShowTheirFirstPages()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto channels = window.findChild<QTabWidget *>(QStringLiteral("tabWidgetCHs"));
    QCOMPARE(channels->count(), 3);
    QCOMPARE(channels->currentIndex(), 0);
    QCOMPARE(channels->tabText(2), QStringLiteral("CH3"));
    QVERIFY(channels->styleSheet().contains(QStringLiteral("min-width:200px")));
    for (int ch = 1; ch <= 3; ++ch) {
        auto page = window.findChild<QTabWidget *>(QStringLiteral("tabWidgetCH%1").arg(ch));
        QCOMPARE(page->tabText(0), QStringLiteral("Record"));
        QCOMPARE(page->tabText(1), QStringLiteral("Charts"));
        QCOMPARE(page->currentIndex(), 0);
        auto charts = window.findChild<QTabWidget *>(QStringLiteral("tabWidgetCH%1Charts").arg(ch));
        QCOMPARE(charts->tabText(0), QStringLiteral("Voltage"));
        QCOMPARE(charts->currentIndex(), 0);
        QCOMPARE(charts->count(), ch == 3 ? 1 : 3);
        if (ch < 3)
            QCOMPARE(charts->tabText(2), QStringLiteral("Power"));
    }
    QVERIFY(channels->tabBar()->tabRect(0).width() >= 200);
}

void TestStartup::tablesHaveModelsAndColumnWidths()
{
    MainWindow window;
    const int widths[] = {50, 130, 100, 100, 100, 60, 60};
    for (int ch = 1; ch <= 3; ++ch) {
        auto table = window.findChild<QTableView *>(QStringLiteral("tableViewCH%1").arg(ch));
        QVERIFY(table->model());
        QCOMPARE(table->model()->columnCount(), 7);
        QCOMPARE(table->model()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("Flag"));
        QCOMPARE(table->selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(!table->horizontalHeader()->sectionsClickable());
        for (int column = 0; column < 7; ++column)
            QCOMPARE(table->columnWidth(column), widths[column]);
    }
    // One model per table.
    QVERIFY(window.findChild<QTableView *>(QStringLiteral("tableViewCH1"))->model()
            != window.findChild<QTableView *>(QStringLiteral("tableViewCH2"))->model());
}

void TestStartup::sevenChartsAreConfigured()
{
    MainWindow window;
    const QStringList names = {"chartCH1Voltage", "chartCH1Current", "chartCH1Power", "chartCH2Voltage",
                               "chartCH2Current", "chartCH2Power", "chartCH3Voltage"};
    const QList<DMMChart *> charts = window.findChildren<DMMChart *>();
    QCOMPARE(charts.size(), names.size());
    for (const QString &name : names) {
        auto chart = window.findChild<DMMChart *>(name);
        QVERIFY2(chart, qPrintable(name));
        QCOMPARE(chart->frameStyle(), int(QFrame::StyledPanel | QFrame::Plain));
    }
}

void TestStartup::chartContextMenuHoldsOnlySaveAndChartStillSeesTheEvent()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto chart = window.findChild<DMMChart *>(QStringLiteral("chartCH2Current"));
    ContextMenuCounter counter;
    chart->installEventFilter(&counter); // runs after the window's own filter

    QStringList entries;
    QPointer<QMenu> shownMenu;
    QTimer::singleShot(50, [&] {
        shownMenu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!shownMenu)
            return;
        for (QAction *action : shownMenu->actions())
            entries << action->objectName();
        shownMenu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10), chart->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(chart, &event);

    QCOMPARE(entries, QStringList{QStringLiteral("actionSaveImage")});
    QCOMPARE(counter.count, 1);
    QTRY_VERIFY(shownMenu.isNull()); // deleted on close
}

void TestStartup::closingClosesTheDriver()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    driver.control->clearCalls();
    window.close();
    QVERIFY(!driver.control->calls().isEmpty());
    QCOMPARE(driver.control->calls().first(), QStringLiteral("close()"));
}

void TestStartup::withoutDriverTheApplicationEndsQuietly_data()
{
    QTest::addColumn<bool>("withEmptyLib");
    QTest::addColumn<QByteArray>("options");
    QTest::newRow("no Lib directory") << false << QByteArray();
    QTest::newRow("empty Lib directory") << true << QByteArray();
    // The show still reads the settings; the driver's keys must not reach a driver that is not there.
    QTest::newRow("settings for a missing driver")
        << true
        << QByteArray("<options><Language>EN</Language><SamplePoints>5</SamplePoints><Infinite>1</Infinite>"
                      "<SampleRate>9</SampleRate><SkipRepeat>1</SkipRepeat><PortType>2</PortType>"
                      "<SerialPortNum>ttyS0</SerialPortNum></options>");
    QRandomGenerator random(4200);
    for (int i = 0; i < 3; ++i) {
        QByteArray noise(int(random.bounded(2000)), Qt::Uninitialized);
        for (char &byte : noise)
            byte = char(random.bounded(256));
        QTest::addRow("random settings file %d", i)
            << false << QByteArray("<options><PortType>1</PortType>") + noise;
    }
}

void TestStartup::withoutDriverTheApplicationEndsQuietly()
{
    QFETCH(bool, withEmptyLib);
    QFETCH(QByteArray, options);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString program = dir.filePath(QStringLiteral("luma4200"));
    QVERIFY(QFile::copy(QStringLiteral(LUMA_APP_EXECUTABLE), program));
    if (withEmptyLib)
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Lib")));
    const QString optionsFile = dir.filePath(QStringLiteral("options.xml"));
    if (!options.isEmpty()) {
        QFile file(optionsFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(options);
    }

    QProcess app;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    app.setProcessEnvironment(env);
    app.start(program, QStringList());
    QVERIFY(app.waitForFinished(20000));
    QCOMPARE(app.exitStatus(), QProcess::NormalExit);
    QCOMPARE(app.exitCode(), 0);
    // Not written: without a driver the window never closes, the application just ends.
    if (options.isEmpty()) {
        QVERIFY(!QFile::exists(optionsFile));
    } else {
        QFile file(optionsFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), options);
    }
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
