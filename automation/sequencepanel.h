#ifndef SEQUENCEPANEL_H
#define SEQUENCEPANEL_H

#include <QDockWidget>

QT_BEGIN_NAMESPACE
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTimeEdit;
class QTimer;
QT_END_NAMESPACE

class Automation;
class Sequence;

// The "Sequence" dock: the step table with its ramp, repeats and output
// options, start/pause/resume/stop and the running step; the output timer;
// the stop conditions. It shows and edits; Automation does the work.
class SequencePanel : public QDockWidget
{
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 200;

    SequencePanel(Automation *automation, QWidget *parent = nullptr);

    // The sequence as the controls describe it.
    Sequence sequence() const;

private:
    QWidget *buildSequenceGroup();
    QWidget *buildTimerGroup();
    QWidget *buildConditionGroup();
    void addStep(double volts, double amps, double seconds);
    void loadSteps();
    void saveSteps();
    void start();
    void pauseOrResume();
    void addCondition();
    void refresh();
    void showConditions();

    Automation *automation;
    QTimer *refreshTimer;

    QComboBox *channel;
    QTableWidget *steps;
    QDoubleSpinBox *ramp;
    QSpinBox *repeats;
    QCheckBox *repeatForever;
    QCheckBox *outputOnAtStart;
    QCheckBox *outputOffAtEnd;
    QPushButton *startButton;
    QPushButton *pauseButton;
    QPushButton *stopButton;
    QLabel *state;

    QTimeEdit *timerDuration;
    QPushButton *timerStart;
    QPushButton *timerStop;
    QLabel *timerRemaining;

    QComboBox *conditionChannel;
    QComboBox *conditionQuantity;
    QComboBox *conditionDirection;
    QDoubleSpinBox *conditionValue;
    QDoubleSpinBox *conditionHold;
    QCheckBox *actionOutputOff;
    QCheckBox *actionStopSequence;
    QCheckBox *actionStopRecording;
    QCheckBox *actionMessage;
    QListWidget *conditionList;
    QPushButton *resumeRecording;
};

#endif // SEQUENCEPANEL_H
