// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// ChangeObserver: tells a GUI object that some camera feature changed.
#ifndef CHANGEOBSERVER_H
#define CHANGEOBSERVER_H

#include <OrvikCPP.h>

#include <QByteArray>

#include <atomic>

class QObject;

/// Registered on every feature the viewer shows. Runs on the library's
/// notification thread, so it touches no widget: it only posts one queued
/// call of `slot` on `receiver`, and posts no second one until the receiver
/// has taken the first (acknowledge()), so a burst of changes costs one
/// refresh. The receiver must outlive every registration of the observer.
class ChangeObserver : public TKN::OrvAPI::IFeatureObserver
{
public:
    ChangeObserver(QObject *receiver, const char *slot);

    void NotifyFeatureChange(const TKN::OrvAPI::FeaturePtr &feature) override;

    /// Called by the receiver, on the GUI thread, before it re-reads.
    void acknowledge();

private:
    QObject *m_Receiver;
    QByteArray m_Slot;
    std::atomic<bool> m_Pending;
};

#endif // CHANGEOBSERVER_H
