// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// ClockDriver: lets a timing model keep up with real time.
#ifndef ORVSIM_CLOCKDRIVER_H
#define ORVSIM_CLOCKDRIVER_H

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace OrvSim {

/// A thread that sleeps until the moment the model asked for, lets the model
/// run up to the present, and sleeps again until the next moment the model
/// names. Started on first use; idle models cost no wake-ups.
class ClockDriver
{
public:
    typedef std::chrono::steady_clock::time_point TimePoint;
    /// Runs on the driver's thread; returns the next moment it is needed, or
    /// TimePoint::max() for none.
    typedef std::function<TimePoint()> Advance;

    explicit ClockDriver(Advance advance);
    /// Stops the thread.
    ~ClockDriver();

    /// Something is due at `when`.
    void wakeAt(TimePoint when);
    /// Ends the thread and waits for it; call without any lock the advance
    /// function takes. Idempotent.
    void stop();

private:
    ClockDriver(const ClockDriver &) = delete;
    ClockDriver &operator=(const ClockDriver &) = delete;
    void run();

    const Advance m_Advance;
    std::mutex m_Mutex;
    std::condition_variable m_Wake;
    TimePoint m_Next = TimePoint::max();
    bool m_Stopping = false;
    std::thread m_Thread;
};

} // namespace OrvSim

#endif // ORVSIM_CLOCKDRIVER_H
