#include "dlgdevchoose.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSerialPortInfo>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

class TestDlgDevChoose : public QObject
{
    Q_OBJECT
private slots:
    void initialPortTypeSelectsButtonAndPage_data();
    void initialPortTypeSelectsButtonAndPage();
    void radioButtonsSwitchPortTypeAndPage();
    void lanIsShownButCannotBePickedAgain();
    void tabBarIsHidden();
    void ipFieldTakesOnlyAnAddress();
    void serialPortsAreListedInSystemOrder();
    void cancelRejects();
};

namespace {
QRadioButton *button(DlgDevChoose &dialog, const char *name)
{
    return dialog.findChild<QRadioButton *>(QLatin1String(name));
}

QTabWidget *pages(DlgDevChoose &dialog)
{
    return dialog.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
}
} // namespace

void TestDlgDevChoose::initialPortTypeSelectsButtonAndPage_data()
{
    QTest::addColumn<int>("portType");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<int>("page");
    QTest::newRow("USB") << 0 << "rbUSB" << 0;
    QTest::newRow("LAN, although disabled") << 1 << "rbLAN" << 1;
    QTest::newRow("RS232") << 2 << "rbRS232" << 2;
    QTest::newRow("unknown selects nothing") << 7 << "" << 2;
    QTest::newRow("negative selects nothing") << -1 << "" << 2;
}

void TestDlgDevChoose::initialPortTypeSelectsButtonAndPage()
{
    QFETCH(int, portType);
    QFETCH(QString, checked);
    QFETCH(int, page);
    DlgDevChoose dialog(portType, nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Port type"));
    for (const char *name : {"rbUSB", "rbLAN", "rbRS232"})
        QCOMPARE(button(dialog, name)->isChecked(), checked == QLatin1String(name));
    QCOMPARE(pages(dialog)->currentIndex(), page);
    QCOMPARE(dialog.portType(), portType);
}

void TestDlgDevChoose::radioButtonsSwitchPortTypeAndPage()
{
    DlgDevChoose dialog(0, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QRadioButton *rs232 = button(dialog, "rbRS232");
    QTest::mouseClick(rs232, Qt::LeftButton, Qt::NoModifier, QPoint(5, rs232->height() / 2));
    QCOMPARE(dialog.portType(), 2);
    QCOMPARE(pages(dialog)->currentIndex(), 2);
    QRadioButton *usb = button(dialog, "rbUSB");
    QTest::mouseClick(usb, Qt::LeftButton, Qt::NoModifier, QPoint(5, usb->height() / 2));
    QCOMPARE(dialog.portType(), 0);
    QCOMPARE(pages(dialog)->currentIndex(), 0);
}

void TestDlgDevChoose::lanIsShownButCannotBePickedAgain()
{
    DlgDevChoose dialog(1, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QRadioButton *lan = button(dialog, "rbLAN");
    QVERIFY(!lan->isEnabled());
    button(dialog, "rbUSB")->setChecked(true);
    QTest::mouseClick(lan, Qt::LeftButton, Qt::NoModifier, QPoint(5, lan->height() / 2));
    QVERIFY(!lan->isChecked());
    QCOMPARE(dialog.portType(), 0);
}

void TestDlgDevChoose::tabBarIsHidden()
{
    DlgDevChoose dialog(0, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(!pages(dialog)->tabBar()->isVisible());
}

void TestDlgDevChoose::ipFieldTakesOnlyAnAddress()
{
    DlgDevChoose dialog(1, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit *ip = dialog.edtIP;
    QCOMPARE(ip->inputMask(), QStringLiteral("000.000.000.000"));
    ip->setFocus();
    ip->home(false);
    QTest::keyClicks(ip, QStringLiteral("19a2.168.001.010"));
    QCOMPARE(ip->text(), QStringLiteral("192.168.001.010"));
    QVERIFY(ip->hasAcceptableInput());
}

void TestDlgDevChoose::serialPortsAreListedInSystemOrder()
{
    DlgDevChoose dialog(2, nullptr);
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    QCOMPARE(dialog.cbRS232No->count(), ports.size());
    for (int i = 0; i < ports.size(); ++i)
        QCOMPARE(dialog.cbRS232No->itemText(i), ports.at(i).portName());
    QVERIFY(!dialog.cbRS232No->isEditable());
}

void TestDlgDevChoose::cancelRejects()
{
    DlgDevChoose dialog(0, nullptr);
    QTimer::singleShot(0, &dialog, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
}

QTEST_MAIN(TestDlgDevChoose)
#include "tst_dlgdevchoose.moc"
