// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "clockdriver.h"

namespace OrvSim {

ClockDriver::ClockDriver(Advance advance)
    : m_Advance(std::move(advance))
{
}

ClockDriver::~ClockDriver()
{
    stop();
}

void ClockDriver::wakeAt(TimePoint when)
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (m_Stopping || when >= m_Next)
            return;
        m_Next = when;
        if (!m_Thread.joinable())
            m_Thread = std::thread(&ClockDriver::run, this);
    }
    m_Wake.notify_all();
}

void ClockDriver::stop()
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Stopping = true;
    }
    m_Wake.notify_all();
    if (m_Thread.joinable() && m_Thread.get_id() != std::this_thread::get_id())
        m_Thread.join();
}

void ClockDriver::run()
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    while (!m_Stopping) {
        if (m_Next == TimePoint::max()) {
            m_Wake.wait(lock);
            continue;
        }
        // Woken early for an earlier moment, or by stop(): look again.
        if (std::chrono::steady_clock::now() < m_Next) {
            m_Wake.wait_until(lock, m_Next);
            continue;
        }
        m_Next = TimePoint::max();
        lock.unlock();
        const TimePoint next = m_Advance();
        lock.lock();
        if (next < m_Next)
            m_Next = next;
    }
}

} // namespace OrvSim
