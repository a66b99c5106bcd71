// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// SignalLog: the latest signal events of one camera, numbered without gaps,
// for clients that read them now and then.
#ifndef ORVAPI_SIGNALLOG_H
#define ORVAPI_SIGNALLOG_H

#include "OrvikCamera.h"

#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

namespace OrvSim {

/// A ring of fixed capacity: the oldest events go first, and a reader that
/// fell behind learns how many it lost.
class SignalLog
{
public:
    explicit SignalLog(std::size_t capacity = 65536);

    /// Numbers the event and keeps it; returns its number.
    unsigned long long append(TKN::OrvAPI::SignalEvent event);
    /// As Camera::GetSignalEvents.
    unsigned long long read(unsigned long long afterSequence, std::vector<TKN::OrvAPI::SignalEvent> &events,
                            std::size_t maxEvents) const;
    unsigned long long lastSequence() const;

private:
    mutable std::mutex m_Mutex;
    std::deque<TKN::OrvAPI::SignalEvent> m_Events;
    std::size_t m_Capacity;
    /// Number of the newest event; the front of m_Events is numbered m_Last - size + 1.
    unsigned long long m_Last = 0;
};

} // namespace OrvSim

#endif // ORVAPI_SIGNALLOG_H
