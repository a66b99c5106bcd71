// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "signallog.h"

#include <algorithm>

using namespace TKN::OrvAPI;

namespace OrvSim {

SignalLog::SignalLog(std::size_t capacity)
    : m_Capacity(std::max<std::size_t>(capacity, 1))
{
}

unsigned long long SignalLog::append(SignalEvent event)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    event.sequence = ++m_Last;
    if (m_Events.size() == m_Capacity)
        m_Events.pop_front();
    m_Events.push_back(std::move(event));
    return m_Last;
}

unsigned long long SignalLog::read(unsigned long long afterSequence, std::vector<SignalEvent> &events,
                                   std::size_t maxEvents) const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    const unsigned long long first = m_Last - m_Events.size() + 1;
    unsigned long long next = afterSequence + 1;
    unsigned long long lost = 0;
    if (next < first) {
        // Asked from the start (0) loses nothing: nothing was read before.
        lost = afterSequence == 0 ? 0 : first - next;
        next = first;
    }
    for (; next <= m_Last && maxEvents > 0; ++next, --maxEvents)
        events.push_back(m_Events[next - first]);
    return lost;
}

unsigned long long SignalLog::lastSequence() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Last;
}

} // namespace OrvSim
