#include "reconnector.h"

#include "idmm.h"

#include <QVariant>

Reconnector::Reconnector(IDmm *dmm, QObject *parent) : QObject(parent), dmm(dmm)
{
    retry.setSingleShot(true);
    retry.setInterval(kRetryMs);
    connect(&retry, &QTimer::timeout, this, &Reconnector::attempt);
}

void Reconnector::rememberInstrument()
{
    if (dmm)
        serial = dmm->object()->property("instrumentSerial").toString();
}

void Reconnector::start(ISerialDev *transport)
{
    device = transport;
    attemptCount = 0;
    requireSerial(serial);
    retry.start();
}

void Reconnector::stop()
{
    retry.stop();
    device = nullptr;
    requireSerial(QString());
}

// A driver without the property connects to any instrument, as before.
void Reconnector::requireSerial(const QString &required)
{
    if (dmm)
        dmm->object()->setProperty("requiredSerial", required);
}

void Reconnector::attempt()
{
    if (!dmm || trying)
        return;
    ++attemptCount;
    // open() waits for the instrument's answer in a nested event loop, where
    // stop() may be called (the user presses Disconnect or Connect).
    trying = true;
    const bool opened = dmm->open(device);
    trying = false;
    if (opened || !device)
        return; // connected, or stopped meanwhile
    emit attemptFailed(attemptCount);
    retry.start();
}
