// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// AravisDevice: following changes the camera makes by itself. The features
// that have observers are read a few times a second and compared; cached
// nodes answer from the register cache, so only those the description marks
// as changing by themselves go to the wire.
#include "aravisdevice.h"

#include "aravisfeature.h"

#include <chrono>

using namespace TKN::OrvAPI;

namespace OrvArv {

void AravisDevice::pollLoop()
{
    std::unique_lock<std::mutex> wait(m_PollMutex);
    for (;;) {
        if (m_PollWake.wait_for(wait, std::chrono::milliseconds(PollIntervalMs), [this] { return m_StopPolling; }))
            return;
        wait.unlock();
        std::vector<int> changed;
        {
            std::lock_guard<std::recursive_mutex> lock(m_Mutex);
            if (!m_pDevice)
                return;
            for (int f = 0; f < static_cast<int>(m_AravisFeatures.size()); ++f) {
                Snapshot &last = m_Snapshots[f];
                if (m_AravisFeatures[f]->observers().empty()) {
                    last.valid = false;
                    continue;
                }
                const Snapshot now = snapshot(f);
                // A feature seen for the first time has nothing to differ from.
                if (last.valid && last != now)
                    changed.push_back(f);
                last = now;
            }
            pollLineLevels();
        }
        post(changed);
        wait.lock();
    }
}

void AravisDevice::stopPolling()
{
    {
        std::lock_guard<std::mutex> lock(m_PollMutex);
        m_StopPolling = true;
    }
    m_PollWake.notify_all();
    if (m_Poller.joinable() && m_Poller.get_id() != std::this_thread::get_id())
        m_Poller.join();
}

} // namespace OrvArv
