// Past sessions in their viewer: a log cut short by a crash, and a file that
// is not a session log.

#include "datamodel.h"
#include "modalanswerer.h"
#include "sessionviewer.h"
#include "windowfixture.h"

#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QByteArray kHeader = "Time,CH1 Voltage(V),CH1 Current(A),CH1 Power(W),CH2 Voltage(V),CH2 Current(A),"
                           "CH2 Power(W),CH3 Voltage(V),CH3 Current(A),CH3 Power(W),Tracking mode,CH1 Flag,CH2 Flag\n";
// Written before channel 3's current and power were left empty.
const QByteArray kOlderLine = "2026-12-08T10:15:30.250,12,0.5,6,5.05,1.2,6.06,3.35,0.5,1.675,2,0,1\n";
const QByteArray kLine = "2026-12-08T10:15:31.250,12.01,0.501,6.02,5,1,5,3.3,,,1,1,0\n";
} // namespace

class TestSessionViewer : public QObject
{
    Q_OBJECT

private slots:
    void tornLastLineIsLeftOutAndSaid();
    void fileThatIsNoSessionLogIsNamedByItsLine();

private:
    QString write(const QByteArray &content)
    {
        const QString path = dir.filePath(QStringLiteral("session.csv"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(content);
        return path;
    }

    QTemporaryDir dir;
};

void TestSessionViewer::tornLastLineIsLeftOutAndSaid()
{
    WindowFixture f;
    SessionViewer *viewer = SessionViewer::open(write(kHeader + kOlderLine + kLine + "2026-12-08T10:15:32.2"), f.window.data());
    QSignalSpy loaded(viewer, &SessionViewer::loaded);
    QVERIFY(loaded.wait());
    QCOMPARE(loaded.first().first().toBool(), true);
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->windowTitle().startsWith(QStringLiteral("session.csv")));
    QVERIFY(viewer->windowTitle().endsWith(QStringLiteral("2026-12-08 10:15:30 to 2026-12-08 10:15:31")));
    QVERIFY(viewer->findChild<QLabel *>(QStringLiteral("lblSessionSummary"))->text().contains(QStringLiteral("line 4")));

    // The numbers read back in the instrument's display form, each channel in its table.
    const auto cells = [viewer](int channel, int row) {
        const QAbstractItemModel *model = viewer->models().at(channel - 1);
        QStringList texts;
        for (int column = 0; column < model->columnCount(); ++column)
            texts << model->data(model->index(row, column)).toString();
        return texts;
    };
    QCOMPARE(viewer->models().first()->rowCount(), 2);
    QCOMPARE(cells(1, 0), (QStringList{"1", "2026-12-08 10:15:30", "12.00", "0.500", "06.00", "PARA", "C.V"}));
    QCOMPARE(cells(2, 0), (QStringList{"1", "2026-12-08 10:15:30", "05.05", "1.200", "06.06", "PARA", "C.C"}));
    QCOMPARE(cells(3, 1), (QStringList{"2", "2026-12-08 10:15:31", "3.3", "-", "-", "-", "-"}));
    // Half-way hundredths round up on channel 3's one decimal, as the instrument shows them.
    QCOMPARE(cells(3, 0).at(2), QStringLiteral("3.4"));
}

void TestSessionViewer::fileThatIsNoSessionLogIsNamedByItsLine()
{
    WindowFixture f;
    for (const QByteArray &content : {kHeader + kLine + "hello,world\n" + kLine, QByteArray("a,b,c\n1,2,3\n")}) {
        ModalAnswerer answerer;
        SessionViewer *viewer = SessionViewer::open(write(content), f.window.data());
        QSignalSpy loaded(viewer, &SessionViewer::loaded);
        QSignalSpy destroyed(viewer, &QObject::destroyed);
        QVERIFY(loaded.wait());
        QCOMPARE(loaded.first().first().toBool(), false);
        QVERIFY(destroyed.wait());
        QCOMPARE(answerer.texts.size(), 1);
        const QString expected = content.startsWith("Time") ? QStringLiteral("Line 3 does not fit a session log: \"hello,world\".")
                                                            : QStringLiteral("Line 1 does not fit a session log: \"a,b,c\".");
        QCOMPARE(answerer.texts.first(), expected);
    }
}

QTEST_MAIN(TestSessionViewer)
#include "tst_sessionviewer.moc"
