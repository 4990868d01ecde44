#include "dialogoptions.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

#include <limits>

namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();
const QString kRestartNotice = QStringLiteral("Please restart application for translation to take effect.");

// Closes the message box that the next action brings up, through its OK
// button, and keeps what it showed. Arm it right before the action; settle()
// afterwards lets the check run when no box came up.
class MessageBoxCatcher
{
public:
    void arm()
    {
        QTimer::singleShot(0, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            texts << box->text();
            titles << box->windowTitle();
            buttons << box->standardButtons();
            icons << box->icon();
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
    }

    static void settle() { QCoreApplication::processEvents(); }

    QVector<QString> texts;
    QVector<QString> titles;
    QVector<QMessageBox::StandardButtons> buttons;
    QVector<QMessageBox::Icon> icons;
};

// The dialog's widgets, found by object name as the rest of the program
// finds them.
struct Form {
    explicit Form(const QDialog &dialog)
        : gridLayout_2(dialog.findChild<QGridLayout *>(QStringLiteral("gridLayout_2")))
        , label_3(dialog.findChild<QLabel *>(QStringLiteral("label_3")))
        , label_2(dialog.findChild<QLabel *>(QStringLiteral("label_2")))
        , skipRepeatCheckBox(dialog.findChild<QCheckBox *>(QStringLiteral("skipRepeatCheckBox")))
        , sampleRateSpinBox(dialog.findChild<QSpinBox *>(QStringLiteral("sampleRateSpinBox")))
        , infiniteCheckBox(dialog.findChild<QCheckBox *>(QStringLiteral("infiniteCheckBox")))
        , label(dialog.findChild<QLabel *>(QStringLiteral("label")))
        , buttonBox(dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox")))
        , samplePointsSpinBox(dialog.findChild<QSpinBox *>(QStringLiteral("samplePointsSpinBox")))
        , labelLanguage(dialog.findChild<QLabel *>(QStringLiteral("labelLanguage")))
        , languageComboBox(dialog.findChild<QComboBox *>(QStringLiteral("languageComboBox")))
    {
    }

    bool complete() const
    {
        return gridLayout_2 && label_3 && label_2 && skipRepeatCheckBox && sampleRateSpinBox && infiniteCheckBox
            && label && buttonBox && samplePointsSpinBox && labelLanguage && languageComboBox;
    }

    QGridLayout *gridLayout_2;
    QLabel *label_3;
    QLabel *label_2;
    QCheckBox *skipRepeatCheckBox;
    QSpinBox *sampleRateSpinBox;
    QCheckBox *infiniteCheckBox;
    QLabel *label;
    QDialogButtonBox *buttonBox;
    QSpinBox *samplePointsSpinBox;
    QLabel *labelLanguage;
    QComboBox *languageComboBox;
};

// Picks an entry the way a user does: opens the list and takes the entry.
void choose(QComboBox *combo, int index)
{
    combo->showPopup();
    QAbstractItemView *list = combo->view();
    list->setCurrentIndex(combo->model()->index(index, 0));
    QTest::keyClick(list, Qt::Key_Return);
}

} // namespace

class TestDialogOptions : public QObject
{
    Q_OBJECT

private slots:
    void formIsBuiltAsDesigned();
    void rowsShown_data();
    void rowsShown();
    void setLanguageSelectsTheEntry_data();
    void setLanguageSelectsTheEntry();
    void otherLanguageBringsUpTheRestartNotice_data();
    void otherLanguageBringsUpTheRestartNotice();
    void infiniteDisablesSamplePoints();
    void spinBoxesClampToTheirRanges_data();
    void spinBoxesClampToTheirRanges();
    void buttonsAndKeysEndTheDialog_data();
    void buttonsAndKeysEndTheDialog();
};

void TestDialogOptions::formIsBuiltAsDesigned()
{
    QWidget window;
    DialogOptions dialog(false, &window);
    const Form f(dialog);
    const Form *form = &f;
    QVERIFY(form->complete());
    QCOMPARE(dialog.samplePointsSpinBox(), form->samplePointsSpinBox);
    QCOMPARE(dialog.infiniteCheckBox(), form->infiniteCheckBox);
    QCOMPARE(dialog.sampleRateSpinBox(), form->sampleRateSpinBox);
    QCOMPARE(dialog.skipRepeatCheckBox(), form->skipRepeatCheckBox);
    QCOMPARE(dialog.parentWidget(), &window);
    QCOMPARE(dialog.objectName(), QStringLiteral("DialogOptions"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Options"));
    QCOMPARE(dialog.size(), QSize(317, 145));
    QCOMPARE(dialog.layout(), form->gridLayout_2);

    struct Cell {
        QWidget *widget;
        int row, column, columnSpan;
        QString text;
    };
    const QList<Cell> cells{
        {form->labelLanguage, 0, 0, 1, QStringLiteral("Language")},
        {form->languageComboBox, 0, 1, 1, QStringLiteral("English")},
        {form->label, 1, 0, 1, QStringLiteral("Sample points")},
        {form->samplePointsSpinBox, 1, 1, 1, QString()},
        {form->infiniteCheckBox, 1, 2, 1, QStringLiteral("Infinite")},
        {form->label_2, 2, 0, 1, QStringLiteral("Sample rate")},
        {form->sampleRateSpinBox, 2, 1, 1, QString()},
        {form->label_3, 3, 0, 1, QStringLiteral("Skip repeat reading")},
        {form->skipRepeatCheckBox, 3, 1, 1, QString()},
        {form->buttonBox, 4, 0, 3, QString()},
    };
    for (const Cell &cell : cells) {
        const QByteArray name = cell.widget->objectName().toLatin1();
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        form->gridLayout_2->getItemPosition(form->gridLayout_2->indexOf(cell.widget), &row, &column, &rowSpan,
                                            &columnSpan);
        QVERIFY2(row == cell.row && column == cell.column && rowSpan == 1 && columnSpan == cell.columnSpan,
                 name.constData());
        QCOMPARE(cell.widget->parentWidget(), &dialog);
        if (auto *label = qobject_cast<QLabel *>(cell.widget)) {
            QCOMPARE(label->text(), cell.text);
            QCOMPARE(label->alignment(), Qt::AlignRight | Qt::AlignTrailing | Qt::AlignVCenter);
        } else if (auto *check = qobject_cast<QCheckBox *>(cell.widget)) {
            QCOMPARE(check->text(), cell.text);
        }
    }

    QCOMPARE(form->languageComboBox->count(), 2);
    QCOMPARE(form->languageComboBox->itemText(0), QStringLiteral("English"));
    QCOMPARE(form->languageComboBox->itemText(1), QStringLiteral("Chinese"));
    QCOMPARE(form->languageComboBox->currentIndex(), 0);
    QCOMPARE(form->samplePointsSpinBox->minimumWidth(), 100);
    QCOMPARE(form->sampleRateSpinBox->minimumWidth(), 100);
    QCOMPARE(form->buttonBox->orientation(), Qt::Horizontal);
    QCOMPARE(form->buttonBox->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
}

void TestDialogOptions::rowsShown_data()
{
    QTest::addColumn<bool>("fixedLanguage");
    QTest::newRow("language may change") << false;
    QTest::newRow("fixed language") << true;
}

void TestDialogOptions::rowsShown()
{
    QFETCH(bool, fixedLanguage);
    DialogOptions dialog(fixedLanguage, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const Form f(dialog);
    const Form *form = &f;
    QVERIFY(form->complete());

    QCOMPARE(form->labelLanguage->isVisible(), !fixedLanguage);
    QCOMPARE(form->languageComboBox->isVisible(), !fixedLanguage);
    for (QWidget *shown : {static_cast<QWidget *>(form->label), static_cast<QWidget *>(form->samplePointsSpinBox),
                           static_cast<QWidget *>(form->infiniteCheckBox), static_cast<QWidget *>(form->buttonBox)})
        QVERIFY2(shown->isVisible(), qPrintable(shown->objectName()));
    for (QWidget *hidden : {static_cast<QWidget *>(form->label_2), static_cast<QWidget *>(form->sampleRateSpinBox),
                            static_cast<QWidget *>(form->label_3), static_cast<QWidget *>(form->skipRepeatCheckBox)})
        QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
}

void TestDialogOptions::setLanguageSelectsTheEntry_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("shown");
    QTest::newRow("English") << 0 << QStringLiteral("English");
    QTest::newRow("Chinese") << 1 << QStringLiteral("Chinese");
}

void TestDialogOptions::setLanguageSelectsTheEntry()
{
    QFETCH(int, index);
    QFETCH(QString, shown);
    DialogOptions dialog(false, nullptr);
    MessageBoxCatcher catcher;
    catcher.arm();
    dialog.setLanguage(index);
    MessageBoxCatcher::settle();
    QCOMPARE(dialog.languageIndex(), index);
    QCOMPARE(Form(dialog).languageComboBox->currentText(), shown);
    QVERIFY(catcher.texts.isEmpty());
}

void TestDialogOptions::otherLanguageBringsUpTheRestartNotice_data()
{
    QTest::addColumn<int>("initial");
    QTest::addColumn<QList<int>>("choices");
    QTest::addColumn<int>("notices");

    QTest::newRow("English, choose Chinese") << 0 << QList<int>{1} << 1;
    QTest::newRow("English, choose English") << 0 << QList<int>{0} << 0;
    QTest::newRow("Chinese, choose English") << 1 << QList<int>{0} << 1;
    QTest::newRow("Chinese, choose Chinese") << 1 << QList<int>{1} << 0;
    QTest::newRow("back to the initial one") << 0 << QList<int>{1, 0} << 1;
    QTest::newRow("other one each time") << 0 << QList<int>{1, 1, 0, 1, 0} << 3;
}

void TestDialogOptions::otherLanguageBringsUpTheRestartNotice()
{
    QFETCH(int, initial);
    QFETCH(QList<int>, choices);
    QFETCH(int, notices);

    DialogOptions dialog(false, nullptr);
    dialog.setLanguage(initial);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    MessageBoxCatcher catcher;
    for (int choice : choices) {
        const int before = catcher.texts.size();
        catcher.arm();
        choose(Form(dialog).languageComboBox, choice);
        MessageBoxCatcher::settle();
        QCOMPARE(catcher.texts.size() - before, choice == initial ? 0 : 1);
        QCOMPARE(dialog.languageIndex(), choice);
    }

    QCOMPARE(catcher.texts, QVector<QString>(notices, kRestartNotice));
    QCOMPARE(catcher.titles, QVector<QString>(notices, QString()));
    QCOMPARE(catcher.buttons, QVector<QMessageBox::StandardButtons>(notices, QMessageBox::Ok));
    QCOMPARE(catcher.icons, QVector<QMessageBox::Icon>(notices, QMessageBox::Information));
    QVERIFY(dialog.isVisible());
}

void TestDialogOptions::infiniteDisablesSamplePoints()
{
    DialogOptions dialog(false, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const Form f(dialog);
    const Form *form = &f;
    QVERIFY(form->complete());
    QSpinBox *points = form->samplePointsSpinBox;
    QCheckBox *infinite = form->infiniteCheckBox;
    QVERIFY(points->isEnabled());

    QTest::mouseClick(infinite, Qt::LeftButton);
    QVERIFY(infinite->isChecked());
    QVERIFY(!points->isEnabled());
    QTest::mouseClick(infinite, Qt::LeftButton);
    QVERIFY(!infinite->isChecked());
    QVERIFY(points->isEnabled());

    // The window loads the state from the driver the same way.
    infinite->setChecked(true);
    QVERIFY(!points->isEnabled());
}

void TestDialogOptions::spinBoxesClampToTheirRanges_data()
{
    QTest::addColumn<bool>("rate");
    QTest::addColumn<int>("given");
    QTest::addColumn<int>("shown");

    QTest::newRow("no sample points") << false << 0 << 1;
    QTest::newRow("negative sample points") << false << -5 << 1;
    QTest::newRow("one sample point") << false << 1 << 1;
    QTest::newRow("most sample points") << false << kIntMax << kIntMax;
    QTest::newRow("negative rate") << true << -1 << 0;
    QTest::newRow("zero rate") << true << 0 << 0;
    QTest::newRow("some rate") << true << 500 << 500;
    QTest::newRow("largest rate") << true << kIntMax << kIntMax;
}

void TestDialogOptions::spinBoxesClampToTheirRanges()
{
    QFETCH(bool, rate);
    QFETCH(int, given);
    QFETCH(int, shown);
    DialogOptions dialog(false, nullptr);
    QSpinBox *box = rate ? dialog.sampleRateSpinBox() : dialog.samplePointsSpinBox();
    box->setValue(given);
    QCOMPARE(box->value(), shown);
    QCOMPARE(box->text(), QString::number(shown) + (rate ? QStringLiteral("mS") : QString()));
}

void TestDialogOptions::buttonsAndKeysEndTheDialog_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("OK") << QStringLiteral("ok") << int(QDialog::Accepted);
    QTest::newRow("Cancel") << QStringLiteral("cancel") << int(QDialog::Rejected);
    QTest::newRow("Escape") << QStringLiteral("escape") << int(QDialog::Rejected);
    QTest::newRow("window closed") << QStringLiteral("close") << int(QDialog::Rejected);
}

void TestDialogOptions::buttonsAndKeysEndTheDialog()
{
    QFETCH(QString, how);
    QFETCH(int, result);
    DialogOptions dialog(false, nullptr);
    dialog.open();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy finished(&dialog, &QDialog::finished);

    QDialogButtonBox *buttons = Form(dialog).buttonBox;
    if (how == QLatin1String("ok"))
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    else if (how == QLatin1String("cancel"))
        QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    else if (how == QLatin1String("escape"))
        QTest::keyClick(&dialog, Qt::Key_Escape);
    else
        dialog.close();

    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toInt(), result);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestDialogOptions)
#include "tst_dialogoptions.moc"
