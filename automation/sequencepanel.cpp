#include "sequencepanel.h"

#include "automation.h"
#include "outputtimer.h"
#include "sequence.h"
#include "sequencecsv.h"
#include "sequencerunner.h"
#include "stopcondition.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kColumnVolts = 0;
constexpr int kColumnAmps = 1;
constexpr int kColumnSeconds = 2;
constexpr int kMaxRepeats = 100000;
constexpr double kMaxHoldSeconds = 24 * 3600;
constexpr double kMaxThreshold = 200; // above any voltage, current or power of the supply
const QString kCsvFilter = QStringLiteral("CSV (*.csv)");

QString clock(qint64 ms)
{
    return OutputTimer::format(ms);
}

// Spin boxes with each column's unit resolution; the range is wide open so
// that a loaded value out of the channel's limits shows as it is and is
// refused, with its step named, when the sequence starts.
class StepDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        static const int decimals[] = {2, 3, 1};
        auto editor = new QDoubleSpinBox(parent);
        editor->setFrame(false);
        editor->setDecimals(decimals[qBound(0, index.column(), 2)]);
        editor->setRange(0, Sequence::kMaxStepSeconds);
        return editor;
    }
};
} // namespace

SequencePanel::SequencePanel(Automation *automation, QWidget *parent)
    : QDockWidget(tr("Sequence"), parent), automation(automation), refreshTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("dockSequence"));
    auto content = new QWidget;
    auto layout = new QVBoxLayout(content);
    layout->addWidget(buildSequenceGroup());
    layout->addWidget(buildTimerGroup());
    layout->addWidget(buildConditionGroup());
    layout->addStretch();
    auto scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    setWidget(scroll);

    connect(refreshTimer, &QTimer::timeout, this, &SequencePanel::refresh);
    refreshTimer->start(kRefreshMs);
    connect(automation->runner(), &SequenceRunner::stopped, this, &SequencePanel::refresh);
    connect(automation->outputTimer(), &OutputTimer::stopped, this, &SequencePanel::refresh);
    connect(automation->outputTimer(), &OutputTimer::expired, this, &SequencePanel::refresh);
    connect(automation, &Automation::conditionsChanged, this, &SequencePanel::showConditions);
    connect(automation, &Automation::recordingStoppedChanged, resumeRecording, &QWidget::setEnabled);
    // Not modal: the readings go on while the user reads it.
    connect(automation, &Automation::conditionMessage, this, [this](const QString &text) {
        auto box = new QMessageBox(QMessageBox::Information, QString(), text, QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setObjectName(QStringLiteral("conditionMessage"));
        box->open();
    });
    refresh();
}

QWidget *SequencePanel::buildSequenceGroup()
{
    auto group = new QGroupBox(tr("Sequence"));
    auto layout = new QVBoxLayout(group);

    auto channelRow = new QHBoxLayout;
    channel = new QComboBox;
    channel->setObjectName(QStringLiteral("cbSeqChannel"));
    channel->addItem(tr("CH1"), 1);
    channel->addItem(tr("CH2"), 2);
    channelRow->addWidget(new QLabel(tr("Channel:")));
    channelRow->addWidget(channel);
    channelRow->addStretch();
    layout->addLayout(channelRow);

    steps = new QTableWidget(0, 3);
    steps->setObjectName(QStringLiteral("tableSteps"));
    steps->setHorizontalHeaderLabels({tr("Voltage (V)"), tr("Current (A)"), tr("Time (s)")});
    steps->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    steps->setItemDelegate(new StepDelegate(steps));
    steps->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(steps);

    auto editRow = new QHBoxLayout;
    const auto button = [editRow](const char *name, const QString &text) {
        auto made = new QPushButton(text);
        made->setObjectName(QString::fromLatin1(name));
        editRow->addWidget(made);
        return made;
    };
    connect(button("btnAddStep", tr("Add step")), &QPushButton::clicked, this, [this] {
        // A new step starts as a copy of the last one, the usual next edit.
        const Sequence current = sequence();
        const SequenceStep last = current.steps.isEmpty() ? SequenceStep{5.0, 1.0, 10.0} : current.steps.last();
        addStep(last.volts, last.amps, last.seconds);
    });
    connect(button("btnRemoveStep", tr("Remove step")), &QPushButton::clicked, this, [this] {
        if (steps->currentRow() >= 0)
            steps->removeRow(steps->currentRow());
    });
    connect(button("btnLoadSteps", tr("Load…")), &QPushButton::clicked, this, &SequencePanel::loadSteps);
    connect(button("btnSaveSteps", tr("Save…")), &QPushButton::clicked, this, &SequencePanel::saveSteps);
    layout->addLayout(editRow);

    auto options = new QFormLayout;
    ramp = new QDoubleSpinBox;
    ramp->setObjectName(QStringLiteral("spinRamp"));
    ramp->setRange(0, Sequence::kMaxStepSeconds);
    ramp->setDecimals(1);
    ramp->setSuffix(tr(" s"));
    ramp->setSpecialValueText(tr("no ramp"));
    ramp->setToolTip(tr("The first seconds of each step move linearly from the previous step's set points."));
    options->addRow(tr("Ramp:"), ramp);
    auto repeatRow = new QHBoxLayout;
    repeats = new QSpinBox;
    repeats->setObjectName(QStringLiteral("spinRepeats"));
    repeats->setRange(1, kMaxRepeats);
    repeatForever = new QCheckBox(tr("Forever"));
    repeatForever->setObjectName(QStringLiteral("chkForever"));
    connect(repeatForever, &QCheckBox::toggled, repeats, &QWidget::setDisabled);
    repeatRow->addWidget(repeats);
    repeatRow->addWidget(repeatForever);
    options->addRow(tr("Passes:"), repeatRow);
    layout->addLayout(options);
    outputOnAtStart = new QCheckBox(tr("Output on at start"));
    outputOnAtStart->setObjectName(QStringLiteral("chkOutputOnAtStart"));
    outputOffAtEnd = new QCheckBox(tr("Output off at the end"));
    outputOffAtEnd->setObjectName(QStringLiteral("chkOutputOffAtEnd"));
    layout->addWidget(outputOnAtStart);
    layout->addWidget(outputOffAtEnd);

    auto runRow = new QHBoxLayout;
    startButton = new QPushButton(tr("Start"));
    startButton->setObjectName(QStringLiteral("btnSeqStart"));
    pauseButton = new QPushButton(tr("Pause"));
    pauseButton->setObjectName(QStringLiteral("btnSeqPause"));
    stopButton = new QPushButton(tr("Stop"));
    stopButton->setObjectName(QStringLiteral("btnSeqStop"));
    runRow->addWidget(startButton);
    runRow->addWidget(pauseButton);
    runRow->addWidget(stopButton);
    layout->addLayout(runRow);
    connect(startButton, &QPushButton::clicked, this, &SequencePanel::start);
    connect(pauseButton, &QPushButton::clicked, this, &SequencePanel::pauseOrResume);
    connect(stopButton, &QPushButton::clicked, this,
            [this] { automation->runner()->stop(tr("stopped by the user")); });
    state = new QLabel;
    state->setObjectName(QStringLiteral("lblSeqState"));
    state->setWordWrap(true);
    layout->addWidget(state);
    return group;
}

QWidget *SequencePanel::buildTimerGroup()
{
    auto group = new QGroupBox(tr("Output timer"));
    auto layout = new QHBoxLayout(group);
    timerDuration = new QTimeEdit(QTime(0, 10));
    timerDuration->setObjectName(QStringLiteral("timeOutputTimer"));
    timerDuration->setDisplayFormat(QStringLiteral("hh:mm:ss"));
    timerDuration->setToolTip(tr("Switch the output off after this time."));
    timerStart = new QPushButton(tr("Start"));
    timerStart->setObjectName(QStringLiteral("btnTimerStart"));
    timerStop = new QPushButton(tr("Stop"));
    timerStop->setObjectName(QStringLiteral("btnTimerStop"));
    timerRemaining = new QLabel;
    timerRemaining->setObjectName(QStringLiteral("lblTimerRemaining"));
    layout->addWidget(new QLabel(tr("Output off after")));
    layout->addWidget(timerDuration);
    layout->addWidget(timerStart);
    layout->addWidget(timerStop);
    layout->addWidget(timerRemaining);
    layout->addStretch();
    connect(timerStart, &QPushButton::clicked, this, [this] {
        automation->startOutputTimer(QTime(0, 0).msecsTo(timerDuration->time()));
        refresh();
    });
    connect(timerStop, &QPushButton::clicked, this,
            [this] { automation->outputTimer()->stop(tr("stopped by the user")); });
    return group;
}

QWidget *SequencePanel::buildConditionGroup()
{
    auto group = new QGroupBox(tr("Stop conditions"));
    auto layout = new QVBoxLayout(group);
    auto when = new QHBoxLayout;
    conditionChannel = new QComboBox;
    conditionChannel->setObjectName(QStringLiteral("cbCondChannel"));
    for (int number = 1; number <= 3; ++number)
        conditionChannel->addItem(tr("CH%1").arg(number), number);
    conditionQuantity = new QComboBox;
    conditionQuantity->setObjectName(QStringLiteral("cbCondQuantity"));
    conditionQuantity->addItem(tr("voltage (V)"), StopCondition::Voltage);
    conditionQuantity->addItem(tr("current (A)"), StopCondition::Current);
    conditionQuantity->addItem(tr("power (W)"), StopCondition::Power);
    conditionDirection = new QComboBox;
    conditionDirection->setObjectName(QStringLiteral("cbCondDirection"));
    conditionDirection->addItem(tr("below"), false);
    conditionDirection->addItem(tr("above"), true);
    conditionValue = new QDoubleSpinBox;
    conditionValue->setObjectName(QStringLiteral("spinCondValue"));
    conditionValue->setDecimals(3);
    conditionValue->setRange(0, kMaxThreshold);
    conditionHold = new QDoubleSpinBox;
    conditionHold->setObjectName(QStringLiteral("spinCondHold"));
    conditionHold->setRange(0, kMaxHoldSeconds);
    conditionHold->setDecimals(1);
    conditionHold->setSuffix(tr(" s"));
    when->addWidget(new QLabel(tr("When")));
    when->addWidget(conditionChannel);
    when->addWidget(conditionQuantity);
    when->addWidget(conditionDirection);
    when->addWidget(conditionValue);
    when->addStretch();
    layout->addLayout(when);

    auto then = new QHBoxLayout;
    actionOutputOff = new QCheckBox(tr("output off"));
    actionOutputOff->setObjectName(QStringLiteral("chkCondOutputOff"));
    actionOutputOff->setChecked(true);
    actionStopSequence = new QCheckBox(tr("stop the sequence"));
    actionStopSequence->setObjectName(QStringLiteral("chkCondStopSequence"));
    actionStopRecording = new QCheckBox(tr("stop recording"));
    actionStopRecording->setObjectName(QStringLiteral("chkCondStopRecording"));
    actionMessage = new QCheckBox(tr("message"));
    actionMessage->setObjectName(QStringLiteral("chkCondMessage"));
    then->addWidget(new QLabel(tr("for")));
    then->addWidget(conditionHold);
    then->addWidget(new QLabel(tr("then")));
    then->addStretch();
    layout->addLayout(then);
    // The four actions in two rows keep the panel narrow beside the window.
    auto actions = new QGridLayout;
    actions->addWidget(actionOutputOff, 0, 0);
    actions->addWidget(actionStopSequence, 0, 1);
    actions->addWidget(actionStopRecording, 1, 0);
    actions->addWidget(actionMessage, 1, 1);
    layout->addLayout(actions);

    auto listRow = new QHBoxLayout;
    auto add = new QPushButton(tr("Add"));
    add->setObjectName(QStringLiteral("btnCondAdd"));
    auto remove = new QPushButton(tr("Remove"));
    remove->setObjectName(QStringLiteral("btnCondRemove"));
    resumeRecording = new QPushButton(tr("Resume recording"));
    resumeRecording->setObjectName(QStringLiteral("btnResumeRecording"));
    resumeRecording->setEnabled(false);
    listRow->addWidget(add);
    listRow->addWidget(remove);
    listRow->addStretch();
    listRow->addWidget(resumeRecording);
    layout->addLayout(listRow);
    conditionList = new QListWidget;
    conditionList->setObjectName(QStringLiteral("listConditions"));
    layout->addWidget(conditionList);
    connect(add, &QPushButton::clicked, this, &SequencePanel::addCondition);
    connect(remove, &QPushButton::clicked, this, [this] { automation->removeCondition(conditionList->currentRow()); });
    connect(resumeRecording, &QPushButton::clicked, automation, &Automation::resumeRecording);
    return group;
}

void SequencePanel::addStep(double volts, double amps, double seconds)
{
    const int row = steps->rowCount();
    steps->insertRow(row);
    const double values[] = {volts, amps, seconds};
    for (int column = 0; column < 3; ++column) {
        auto item = new QTableWidgetItem;
        item->setData(Qt::EditRole, values[column]);
        steps->setItem(row, column, item);
    }
}

Sequence SequencePanel::sequence() const
{
    Sequence result;
    result.channel = channel->currentData().toInt();
    for (int row = 0; row < steps->rowCount(); ++row) {
        const auto value = [this, row](int column) {
            const QTableWidgetItem *item = steps->item(row, column);
            return item ? item->data(Qt::EditRole).toDouble() : 0.0;
        };
        result.steps << SequenceStep{value(kColumnVolts), value(kColumnAmps), value(kColumnSeconds)};
    }
    result.rampSeconds = ramp->value();
    result.repeats = repeatForever->isChecked() ? Sequence::kForever : repeats->value();
    result.outputOnAtStart = outputOnAtStart->isChecked();
    result.outputOffAtEnd = outputOffAtEnd->isChecked();
    return result;
}

void SequencePanel::loadSteps()
{
    const QString fileName = QFileDialog::getOpenFileName(this, tr("Load the steps of a sequence"), QString(), kCsvFilter);
    if (fileName.isEmpty())
        return;
    QFile file(fileName);
    QList<SequenceStep> loaded;
    QString error;
    if (!file.open(QIODevice::ReadOnly))
        error = file.errorString();
    else
        SequenceCsv::read(file.readAll(), &loaded, &error);
    if (loaded.isEmpty()) {
        QMessageBox::warning(this, QString(), tr("%1 was not loaded.\n%2").arg(QDir::toNativeSeparators(fileName), error));
        return;
    }
    steps->setRowCount(0);
    for (const SequenceStep &step : qAsConst(loaded))
        addStep(step.volts, step.amps, step.seconds);
}

void SequencePanel::saveSteps()
{
    QString fileName = QFileDialog::getSaveFileName(this, tr("Save the steps of a sequence"), QString(), kCsvFilter);
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".csv");
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(SequenceCsv::write(sequence().steps)) < 0 || !file.commit())
        QMessageBox::warning(this, QString(), tr("%1 was not saved.\n%2").arg(QDir::toNativeSeparators(fileName), file.errorString()));
}

void SequencePanel::start()
{
    QString error;
    if (!automation->startSequence(sequence(), &error))
        QMessageBox::warning(this, QString(), tr("The sequence cannot start.\n%1").arg(error));
    refresh();
}

void SequencePanel::pauseOrResume()
{
    SequenceRunner *runner = automation->runner();
    if (runner->isPaused())
        runner->resume();
    else
        runner->pause();
    refresh();
}

void SequencePanel::addCondition()
{
    StopCondition condition;
    condition.channel = conditionChannel->currentData().toInt();
    condition.quantity = StopCondition::Quantity(conditionQuantity->currentData().toInt());
    condition.above = conditionDirection->currentData().toBool();
    condition.threshold = conditionValue->value();
    condition.holdSeconds = conditionHold->value();
    condition.actions = (actionOutputOff->isChecked() ? StopCondition::OutputOff : 0)
                        | (actionStopSequence->isChecked() ? StopCondition::StopSequence : 0)
                        | (actionStopRecording->isChecked() ? StopCondition::StopRecording : 0)
                        | (actionMessage->isChecked() ? StopCondition::Message : 0);
    if (condition.actions == 0) {
        QMessageBox::warning(this, QString(), tr("Tick at least one thing to do when the condition is met."));
        return;
    }
    automation->addCondition(condition);
}

void SequencePanel::showConditions()
{
    conditionList->clear();
    for (const StopCondition &condition : automation->conditions())
        conditionList->addItem(condition.hasFired() ? tr("%1 (met)").arg(condition.describe()) : condition.describe());
}

void SequencePanel::refresh()
{
    const SequenceRunner *runner = automation->runner();
    const bool running = runner->isRunning();
    startButton->setEnabled(!running);
    pauseButton->setEnabled(running);
    pauseButton->setText(runner->isPaused() ? tr("Resume") : tr("Pause"));
    stopButton->setEnabled(running);
    for (QWidget *editor : {static_cast<QWidget *>(channel), static_cast<QWidget *>(steps)})
        editor->setEnabled(!running);
    if (running) {
        const Sequence &sequence = runner->sequence();
        const qint64 total = runner->totalRemainingMs();
        const QString passes = sequence.repeats == Sequence::kForever ? tr("pass %1").arg(runner->currentPass())
                                                                      : tr("pass %1 of %2").arg(runner->currentPass()).arg(sequence.repeats);
        state->setText(tr("%1 step %2 of %3, %4: %5 left in the step, %6 in the sequence.")
                           .arg(runner->isPaused() ? tr("Paused at") : tr("Running"))
                           .arg(runner->currentStep() + 1)
                           .arg(sequence.steps.size())
                           .arg(passes, clock(runner->stepRemainingMs()), total < 0 ? tr("forever") : clock(total)));
        steps->selectRow(runner->currentStep());
    } else {
        state->setText(tr("Not running."));
    }

    const OutputTimer *timer = automation->outputTimer();
    timerStart->setEnabled(!timer->isRunning());
    timerStop->setEnabled(timer->isRunning());
    timerDuration->setEnabled(!timer->isRunning());
    timerRemaining->setText(timer->isRunning() ? tr("%1 left").arg(clock(timer->remainingMs())) : QString());
}
