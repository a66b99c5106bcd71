// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "changeobserver.h"

#include <QMetaObject>
#include <QObject>

ChangeObserver::ChangeObserver(QObject *receiver, const char *slot)
    : m_Receiver(receiver),
      m_Slot(slot),
      m_Pending(false)
{
}

void ChangeObserver::NotifyFeatureChange(const TKN::OrvAPI::FeaturePtr &)
{
    if (m_Pending.exchange(true))
        return;
    QMetaObject::invokeMethod(m_Receiver, m_Slot.constData(), Qt::QueuedConnection);
}

void ChangeObserver::acknowledge()
{
    m_Pending.store(false);
}
