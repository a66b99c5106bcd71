// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "notificationdispatcher.h"

#include "observerregistry.h"

#include <algorithm>
#include <atomic>

namespace OrvSim {

namespace {
std::atomic<std::thread::id> s_NotificationThread;
}

NotificationDispatcher &NotificationDispatcher::instance()
{
    static NotificationDispatcher s_Dispatcher;
    return s_Dispatcher;
}

bool NotificationDispatcher::isNotificationThread()
{
    return std::this_thread::get_id() == s_NotificationThread.load();
}

NotificationDispatcher::NotificationDispatcher()
{
    m_Thread = std::thread(&NotificationDispatcher::run, this);
}

NotificationDispatcher::~NotificationDispatcher()
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Stopping = true;
    }
    m_Wake.notify_all();
    if (m_Thread.joinable())
        m_Thread.join();
    std::deque<Item> dropped;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        dropped.swap(m_Queue);
        m_Waiting.clear();
    }
}

void NotificationDispatcher::post(std::vector<Item> &&items)
{
    if (items.empty())
        return;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (m_Stopping)
            return;
        for (Item &item : items) {
            const auto waiting = m_Waiting.find(item.observers);
            if (waiting == m_Waiting.end()) {
                m_Waiting.emplace(item.observers, m_Delivered + m_Queue.size());
                m_Queue.push_back(std::move(item));
                continue;
            }
            std::vector<std::uint64_t> &recipients = m_Queue[waiting->second - m_Delivered].recipients;
            for (std::uint64_t recipient : item.recipients)
                if (std::find(recipients.begin(), recipients.end(), recipient) == recipients.end())
                    recipients.push_back(recipient);
        }
    }
    m_Wake.notify_one();
}

void NotificationDispatcher::waitUntilIdle()
{
    if (isNotificationThread())
        return;
    std::unique_lock<std::mutex> lock(m_Mutex);
    m_Idle.wait(lock, [this] { return (m_Queue.empty() && !m_Delivering) || m_Stopping; });
}

void NotificationDispatcher::run()
{
    s_NotificationThread.store(std::this_thread::get_id());
    std::unique_lock<std::mutex> lock(m_Mutex);
    for (;;) {
        m_Wake.wait(lock, [this] { return !m_Queue.empty() || m_Stopping; });
        if (m_Stopping)
            break;
        Item item = std::move(m_Queue.front());
        m_Queue.pop_front();
        m_Waiting.erase(item.observers);
        ++m_Delivered;
        m_Delivering = true;
        lock.unlock();
        item.observers->deliver(item.feature, item.recipients);
        // Dropping the last reference may delete the feature: not under our lock.
        item.feature.reset();
        lock.lock();
        m_Delivering = false;
        if (m_Queue.empty())
            m_Idle.notify_all();
    }
    m_Delivering = false;
    m_Idle.notify_all();
}

} // namespace OrvSim
