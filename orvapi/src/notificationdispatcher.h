// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The library's one notification thread: delivers feature changes to observers.
#ifndef ORVSIM_NOTIFICATIONDISPATCHER_H
#define ORVSIM_NOTIFICATIONDISPATCHER_H

#include "OrvikCPP.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace OrvSim {

class ObserverRegistry;

/// Started on first use, joined at process exit. The queue holds the features
/// themselves, so a delivery never depends on the camera still existing.
class NotificationDispatcher
{
public:
    struct Item
    {
        TKN::OrvAPI::FeaturePtr feature;
        /// The feature's observers; the feature above keeps them alive.
        ObserverRegistry *observers;
        /// Registration numbers of the observers to tell.
        std::vector<std::uint64_t> recipients;
    };

    static NotificationDispatcher &instance();
    static bool isNotificationThread();

    /// A feature already waiting for delivery is not queued again: its
    /// observers, told later, read what it is by then (the recipients join).
    void post(std::vector<Item> &&items);
    /// Returns once the queue is empty and nothing is being delivered; at once
    /// when called on the notification thread itself.
    void waitUntilIdle();

    ~NotificationDispatcher();

private:
    NotificationDispatcher();
    void run();

    std::mutex m_Mutex;
    std::condition_variable m_Wake;
    std::condition_variable m_Idle;
    std::deque<Item> m_Queue;
    /// Queue position (counted from the first item ever queued) per feature waiting.
    std::unordered_map<const ObserverRegistry *, std::uint64_t> m_Waiting;
    std::uint64_t m_Delivered = 0;
    bool m_Delivering = false;
    bool m_Stopping = false;
    std::thread m_Thread;
};

} // namespace OrvSim

#endif // ORVSIM_NOTIFICATIONDISPATCHER_H
