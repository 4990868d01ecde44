// The window's settings: options.xml read at every show and written at every
// close, and the options dialog between the window and the driver.

#include "windowfixture.h"
#include "modalanswerer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {
QString optionsPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/options.xml");
}

QByteArray readOptionsFile()
{
    QFile file(optionsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeOptionsFile(const QByteArray &content)
{
    QFile file(optionsPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QStringList elementNames(const QByteArray &xml)
{
    QStringList names;
    QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("<(\\w+)>")).globalMatch(QString::fromUtf8(xml));
    while (it.hasNext())
        names << it.next().captured(1);
    return names;
}

// Runs the options dialog through the window and lets the test work it.
void runOptionsDialog(WindowFixture &f, const std::function<void(QDialog *)> &work)
{
    ModalAnswerer answerer([&work](QWidget *modal) {
        if (auto box = qobject_cast<QMessageBox *>(modal))
            box->button(QMessageBox::Ok)->click();
        else
            work(qobject_cast<QDialog *>(modal));
    });
    f.find<QAction>(QStringLiteral("actionOptions"))->trigger();
}

void pressOk(QDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}
} // namespace

class TestWindowSettings : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void firstCloseWritesAllTenElements();
    void closeStartCloseReproducesTheFile();
    void storedValuesReachTheDriverAtShow();
    void geometryIsRestored();
    void readerRulesThroughTheWindow();
    void unwritableFileWarnsOnceAndStillCloses();
    void fullDiskKeepsTheOldFileAndWarns();

    void optionsDialogLoadsAndWritesBackInOrder();
    void optionsDialogCancelChangesNothing();
    void optionsDialogLanguage();
};

void TestWindowSettings::cleanup()
{
    QDir(optionsPath()).removeRecursively();
    QFile::remove(optionsPath());
}

void TestWindowSettings::firstCloseWritesAllTenElements()
{
    {
        WindowFixture f;
        f.window->close();
    }
    const QByteArray xml = readOptionsFile();
    QVERIFY(xml.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<options>\n    <Geometry>"));
    QVERIFY(xml.endsWith("</options>\n"));
    QCOMPARE(elementNames(xml), (QStringList{"options", "Geometry", "State", "FixedLanguage", "Language",
                                             "SamplePoints", "Infinite", "SampleRate", "SkipRepeat",
                                             "PortType", "SerialPortNum"}));
    QVERIFY(xml.contains("<SamplePoints>10000</SamplePoints>"));
    QVERIFY(xml.contains("<Infinite>0</Infinite>"));
    QVERIFY(xml.contains("<Language></Language>") || xml.contains("<Language/>"));
    QVERIFY(QRegularExpression(QStringLiteral("<Geometry>[0-9a-f]+</Geometry>")).match(QString::fromUtf8(xml)).hasMatch());
}

void TestWindowSettings::closeStartCloseReproducesTheFile()
{
    {
        WindowFixture f;
        f.driver.control->preset(QStringLiteral("samplePoints"), 321);
        f.driver.control->preset(QStringLiteral("serialPortNum"), QStringLiteral("ttyUSB7"));
        f.window->close();
    }
    // The first run may still settle the window onto its minimum size; from then on nothing moves.
    for (int run = 0; run < 2; ++run) {
        const QByteArray before = readOptionsFile();
        {
            WindowFixture f(true); // the driver is reset: the file must bring the values back
            f.window->close();
        }
        if (run == 1)
            QCOMPARE(readOptionsFile(), before);
    }
    const QByteArray first = readOptionsFile();
    QVERIFY(first.contains("<SamplePoints>321</SamplePoints>"));
}

void TestWindowSettings::storedValuesReachTheDriverAtShow()
{
    writeOptionsFile("<?xml version=\"1.0\"?><options><SamplePoints>55</SamplePoints><Infinite>1</Infinite>"
                     "<SampleRate>250</SampleRate><SkipRepeat>1</SkipRepeat><PortType>2</PortType>"
                     "<SerialPortNum>ttyS3</SerialPortNum></options>");
    WindowFixture f(true); // the fixture clears the calls after the show; look at the show itself
    f.window->hide();
    f.driver.control->clearCalls();
    f.window->show();
    QCOMPARE(f.driver.control->calls(),
             (QStringList{"setSamplePoints(55)", "setInfinite(true)", "setSampleRate(250)", "setSkipRepeat(true)",
                          "setPortType(2)", "setSerialPortNum(ttyS3)"}));
}

void TestWindowSettings::geometryIsRestored()
{
    {
        WindowFixture f;
        f.window->setGeometry(40, 50, 1000, 720);
        f.window->close();
    }
    WindowFixture f(true);
    QCOMPARE(f.window->size(), QSize(1000, 720));
}

void TestWindowSettings::readerRulesThroughTheWindow()
{
    // "2" reads as true and is written back as "1"; "abc" reads as 0; another
    // root and another order still apply; a key twice: the last wins; an
    // unknown language stays as it is.
    writeOptionsFile("<settings><Infinite>2</Infinite><SamplePoints>abc</SamplePoints>"
                     "<Language>fr</Language><SampleRate>5</SampleRate><SampleRate>7</SampleRate></settings>");
    {
        WindowFixture f(true);
        f.window->hide();
        f.window->show();
        QVERIFY(f.driver.control->calls().contains(QStringLiteral("setSamplePoints(0)")));
        f.window->close();
    }
    const QByteArray xml = readOptionsFile();
    QVERIFY(xml.contains("<Infinite>1</Infinite>"));
    QVERIFY(xml.contains("<SamplePoints>0</SamplePoints>"));
    QVERIFY(xml.contains("<SampleRate>7</SampleRate>"));
    QVERIFY(xml.contains("<Language>fr</Language>"));

    // A file cut off in the middle applies what came before the cut.
    writeOptionsFile("<options><SampleRate>42</SampleRate><SamplePoints>12");
    WindowFixture f(true);
    f.window->hide();
    f.driver.control->clearCalls();
    f.window->show();
    QCOMPARE(f.driver.control->calls(), QStringList{QStringLiteral("setSampleRate(42)")});
}

void TestWindowSettings::unwritableFileWarnsOnceAndStillCloses()
{
    // A directory where the file should be: no user, root included, can write it.
    QVERIFY(QDir().mkpath(optionsPath()));
    WindowFixture f;
    ModalAnswerer answerer;
    QVERIFY(f.window->close());
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("Can not open file.")});
    QVERIFY(!f.window->isVisible());
    QVERIFY(QFileInfo(optionsPath()).isDir());
}

void TestWindowSettings::fullDiskKeepsTheOldFileAndWarns()
{
    const QByteArray old = "<?xml version=\"1.0\"?><options><SamplePoints>55</SamplePoints></options>\n";
    writeOptionsFile(old);
    WindowFixture f(true);
    ModalAnswerer answerer;
    // Files may not grow beyond a few bytes, as on a full disk; the signal that
    // would end the process is ignored, so writes just fail.
    rlimit saved{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
    rlimit full = saved;
    full.rlim_cur = 16;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    QVERIFY(setrlimit(RLIMIT_FSIZE, &full) == 0);
    const bool closed = f.window->close();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(closed);
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("Can not open file.")});
    QCOMPARE(readOptionsFile(), old);
    QCOMPARE(QDir(QCoreApplication::applicationDirPath()).entryList({QStringLiteral("options.xml.*")}), QStringList());
}

void TestWindowSettings::optionsDialogLoadsAndWritesBackInOrder()
{
    WindowFixture f;
    f.driver.control->preset(QStringLiteral("samplePoints"), 0);
    f.driver.control->preset(QStringLiteral("sampleRate"), -5);
    f.driver.control->preset(QStringLiteral("skipRepeat"), true);
    bool boxEnabled = false;
    runOptionsDialog(f, [&](QDialog *dialog) {
        auto points = dialog->findChild<QSpinBox *>(QStringLiteral("samplePointsSpinBox"));
        QCOMPARE(points->value(), 1); // the box's minimum
        boxEnabled = points->isEnabled();
        dialog->findChild<QCheckBox *>(QStringLiteral("infiniteCheckBox"))->setChecked(true);
        pressOk(dialog);
    });
    QVERIFY(boxEnabled);
    QCOMPARE(f.commands(), (QStringList{"setSampleRate(0)", "setInfinite(true)", "setSkipRepeat(true)",
                                        "setSamplePoints(1)"}));
}

void TestWindowSettings::optionsDialogCancelChangesNothing()
{
    WindowFixture f;
    runOptionsDialog(f, [](QDialog *dialog) {
        dialog->findChild<QSpinBox *>(QStringLiteral("samplePointsSpinBox"))->setValue(5);
        dialog->reject();
    });
    QCOMPARE(f.commands(), QStringList());
    f.window->close();
    QVERIFY(readOptionsFile().contains("<Language></Language>") || readOptionsFile().contains("<Language/>"));
}

void TestWindowSettings::optionsDialogLanguage()
{
    WindowFixture f;
    QString shown;
    runOptionsDialog(f, [&](QDialog *dialog) {
        auto languages = dialog->findChild<QComboBox *>(QStringLiteral("languageComboBox"));
        shown = languages->currentText();
        // The user's choice brings up the restart notice inside the dialog's own loop.
        QTimer::singleShot(0, dialog, [dialog, languages] {
            languages->setCurrentIndex(1);
            QMetaObject::invokeMethod(languages, "activated", Q_ARG(int, 1));
            pressOk(dialog);
        });
    });
    QCOMPARE(shown, QStringLiteral("English"));
    QVERIFY(f.commands().contains(QStringLiteral("setSamplePoints(10000)")));
    runOptionsDialog(f, [&](QDialog *dialog) {
        shown = dialog->findChild<QComboBox *>(QStringLiteral("languageComboBox"))->currentText();
        dialog->reject();
    });
    QCOMPARE(shown, QStringLiteral("Chinese"));
    f.window->close();
    QVERIFY(readOptionsFile().contains("<Language>OTHER</Language>"));
}

QTEST_MAIN(TestWindowSettings)
#include "tst_windowsettings.moc"
