#include "sessionviewer.h"

#include "columninfo.h"
#include "datamodel.h"
#include "dmmchart.h"
#include "exportcommands.h"
#include "readingtable.h"
#include "readingtime.h"
#include "recordcolumns.h"
#include "recordviews.h"
#include "sessionloader.h"
#include "statusmessages.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>

namespace {
constexpr int kPermille = 1000;
// A viewer opens at the live window's size.
constexpr int kInitialWidthPx = 854;
constexpr int kInitialHeightPx = 696;
const QString kChartPrefix = QStringLiteral("chartCH");

// A page whose grid holds one widget, edge to edge.
QWidget *pageWith(QWidget *content, QWidget *parent)
{
    auto page = new QWidget(parent);
    auto layout = new QGridLayout(page);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    content->setParent(page);
    layout->addWidget(content, 0, 0);
    return page;
}
} // namespace

SessionViewer *SessionViewer::open(const QString &fileName, QWidget *parent)
{
    auto viewer = new SessionViewer(fileName, parent);
    viewer->startLoading();
    return viewer;
}

SessionViewer::SessionViewer(const QString &fileName, QWidget *parent)
    : QMainWindow(parent, Qt::Window), fileName(fileName), columns(RecordColumns::create()),
      table(std::make_unique<ReadingTable>())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("SessionViewer"));
    setWindowTitle(QFileInfo(fileName).fileName());
    resize(kInitialWidthPx, kInitialHeightPx);
    for (quint8 channel = 1; channel <= ReadingTable::kChannelCount; ++channel)
        channelModels << new DataModel(columns, channel, table.get());
    buildPages();
    views = new RecordViews(this, this);
    views->show(channelModels, table.get());
    exporter = std::make_unique<ExportCommands>(this, new StatusMessages(statusBar()));

    auto toolBar = addToolBar(tr("Records"));
    toolBar->setObjectName(QStringLiteral("toolbarRecord"));
    toolBar->setMovable(false);
    auto exportAction = toolBar->addAction(QIcon(QStringLiteral(":/image/export.png")),
                                           QCoreApplication::translate("MainWindow", "Export"));
    exportAction->setObjectName(QStringLiteral("actionExport"));
    connect(exportAction, &QAction::triggered, this, [this] { exporter->exportRecords(channelModels, columns); });
}

SessionViewer::~SessionViewer()
{
    delete loader; // waits for a read still running
    // The views let go of the models when they are destroyed.
    qDeleteAll(channelModels);
    qDeleteAll(columns);
}

const QList<DataModel *> &SessionViewer::models() const
{
    return channelModels;
}

// The channel pages of the live window, with the same object names, so the
// record views find and dress them alike.
void SessionViewer::buildPages()
{
    auto channels = new QTabWidget(this);
    channels->setObjectName(QStringLiteral("tabWidgetCHs"));
    static const char *const quantities[] = {QT_TRANSLATE_NOOP("MainWindow", "Voltage"),
                                             QT_TRANSLATE_NOOP("MainWindow", "Current"),
                                             QT_TRANSLATE_NOOP("MainWindow", "Power")};
    static const char *const quantityIcons[] = {":/image/voltage.png", ":/image/current.png", ":/image/power.png"};
    for (int channel = 1; channel <= ReadingTable::kChannelCount; ++channel) {
        auto records = new QTableView;
        records->setObjectName(QStringLiteral("tableViewCH%1").arg(channel));
        auto charts = new QTabWidget;
        charts->setObjectName(QStringLiteral("tabWidgetCH%1Charts").arg(channel));
        // Channel 3 has a voltage chart only.
        const int chartCount = channel == 3 ? 1 : 3;
        for (int quantity = 0; quantity < chartCount; ++quantity) {
            auto chart = new DMMChart;
            chart->setObjectName(QStringLiteral("chartCH%1%2").arg(channel).arg(quantities[quantity]));
            charts->addTab(pageWith(chart, charts), QIcon(QString::fromLatin1(quantityIcons[quantity])),
                           QCoreApplication::translate("MainWindow", quantities[quantity]));
        }
        auto pages = new QTabWidget;
        pages->setObjectName(QStringLiteral("tabWidgetCH%1").arg(channel));
        pages->addTab(pageWith(records, pages), QIcon(QStringLiteral(":/image/text.png")),
                      QCoreApplication::translate("MainWindow", "Record"));
        pages->addTab(pageWith(charts, pages), QIcon(QStringLiteral(":/image/quxian.png")),
                      QCoreApplication::translate("MainWindow", "Charts"));
        channels->addTab(pageWith(pages, channels), QIcon(QStringLiteral(":/image/channel.png")),
                         QCoreApplication::translate("MainWindow", "CH%1").arg(channel));
    }
    setCentralWidget(channels);
}

void SessionViewer::startLoading()
{
    loader = new SessionLoader;
    progress = new QProgressDialog(tr("Reading %1…").arg(QFileInfo(fileName).fileName()), tr("Cancel"), 0,
                                   kPermille, parentWidget());
    progress->setMinimumDuration(0);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    connect(progress, &QProgressDialog::canceled, loader, &SessionLoader::cancel);
    connect(loader, &SessionLoader::progressed, progress, &QProgressDialog::setValue);
    connect(loader, &SessionLoader::finished, this, [this](const SessionFile::Result &result) {
        progress->deleteLater();
        progress = nullptr;
        if (result.status == SessionFile::Result::Read) {
            showReadings(loader->takeReadings(), result.tornLine);
            emit loaded(true);
            return;
        }
        if (result.status == SessionFile::Result::Failed)
            QMessageBox::warning(parentWidget(), QString(), result.error, QMessageBox::Ok);
        emit loaded(false);
        deleteLater();
    });
    loader->start(fileName);
}

void SessionViewer::showReadings(std::unique_ptr<ReadingTable> readings, int tornLine)
{
    // The models and charts keep pointing at the viewer's table: it takes
    // the rows read.
    *table = std::move(*readings);
    for (DataModel *model : qAsConst(channelModels))
        model->showNewRows();
    views->refreshCharts();
    const int count = table->count();
    if (count > 0) {
        setWindowTitle(tr("%1 — %2 to %3")
                           .arg(QFileInfo(fileName).fileName(), ReadingTime::text(table->timeMs(0)),
                                ReadingTime::text(table->timeMs(count - 1))));
    }
    QString status = tr("Readings: %1. Read-only.").arg(count);
    if (tornLine > 0)
        status += QLatin1Char(' ')
                  + tr("The last line (line %1) was cut short, probably when the recording program stopped, and "
                       "is left out.")
                        .arg(tornLine);
    auto summary = new QLabel(status, statusBar());
    summary->setObjectName(QStringLiteral("lblSessionSummary"));
    statusBar()->addWidget(summary, 1);
    show();
}

// The charts' context menu: Save, for the chart that was clicked.
bool SessionViewer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ContextMenu && watched->objectName().startsWith(kChartPrefix)) {
        const auto chart = qobject_cast<DMMChart *>(watched);
        auto menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        auto save = menu->addAction(QIcon(QStringLiteral(":/image/picture2.png")),
                                    QCoreApplication::translate("MainWindow", "Save"));
        save->setObjectName(QStringLiteral("actionSaveImage"));
        connect(save, &QAction::triggered, this, [this, chart] { exporter->saveChartImage(chart); });
        menu->exec(static_cast<QContextMenuEvent *>(event)->globalPos());
    }
    return QMainWindow::eventFilter(watched, event);
}
