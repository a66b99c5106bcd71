// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "linkcharge.h"

#include <chrono>
#include <thread>

namespace OrvSim {

LinkCharge::~LinkCharge()
{
    wait(m_Milliseconds);
}

void LinkCharge::wait(double milliseconds)
{
    if (!(milliseconds > 0))
        return;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end =
        Clock::now()
        + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(milliseconds));
    // A sleep overshoots by the timer slack and more on a busy machine: sleep
    // for most of it and spin the rest. Not yield: on a loaded machine that
    // gives the processor away for milliseconds.
    const auto spin = std::chrono::microseconds(250);
    const Clock::time_point now = Clock::now();
    if (end - now > spin)
        std::this_thread::sleep_for(end - now - spin);
    while (Clock::now() < end) {
    }
}

} // namespace OrvSim
