// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "observerregistry.h"

#include "notificationdispatcher.h"

#include <algorithm>
#include <atomic>

using namespace TKN::OrvAPI;

namespace OrvSim {

namespace {

std::atomic<std::uint64_t> s_LastRegistration{0};

template <class Registrations>
auto findRegistration(Registrations &registrations, const IFeatureObserver *observer)
{
    return std::find_if(registrations.begin(), registrations.end(),
                        [observer](const auto &r) { return r.observer.get() == observer; });
}

} // namespace

OrvErrorType ObserverRegistry::add(const IFeatureObserverPtr &pObserver)
{
    if (!pObserver)
        return OrvErrBadParameter;
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (findRegistration(m_Observers, pObserver.get()) != m_Observers.end())
        return OrvErrAlreadyRegistered;
    m_Observers.push_back(Registration{pObserver, ++s_LastRegistration});
    return OrvErrSuccess;
}

OrvErrorType ObserverRegistry::remove(const IFeatureObserverPtr &pObserver)
{
    if (!pObserver)
        return OrvErrBadParameter;
    OrvErrorType err = OrvErrSuccess;
    IFeatureObserverPtr removed;
    {
        std::unique_lock<std::mutex> lock(m_Mutex);
        const auto found = findRegistration(m_Observers, pObserver.get());
        if (found == m_Observers.end()) {
            err = OrvErrNotFound;
        } else {
            removed = found->observer;
            m_Observers.erase(found);
        }
        // A delivery to this observer may be running; the notification thread
        // cannot wait for itself.
        if (!NotificationDispatcher::isNotificationThread()) {
            const IFeatureObserver *observer = pObserver.get();
            m_DeliveryDone.wait(lock, [this, observer] { return m_pDelivering != observer; });
        }
    }
    // The last reference may go here; never under our lock.
    removed.reset();
    return err;
}

bool ObserverRegistry::empty()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Observers.empty();
}

std::vector<std::uint64_t> ObserverRegistry::registrations()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    std::vector<std::uint64_t> numbers;
    numbers.reserve(m_Observers.size());
    for (const Registration &registration : m_Observers)
        numbers.push_back(registration.number);
    return numbers;
}

void ObserverRegistry::deliver(const FeaturePtr &feature, const std::vector<std::uint64_t> &recipients)
{
    // Only observers registered when the change happened, and still
    // registered now, hear of it: a client that unregisters around its own
    // writes is not told of them later.
    for (const std::uint64_t number : recipients) {
        IFeatureObserverPtr observer;
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            if (m_Closed)
                return;
            const auto found = std::find_if(m_Observers.begin(), m_Observers.end(),
                                            [number](const Registration &r) { return r.number == number; });
            if (found == m_Observers.end())
                continue;
            observer = found->observer;
            m_pDelivering = observer.get();
        }
        try {
            observer->NotifyFeatureChange(feature);
        } catch (...) {
            // An observer's exception must not end the library's notification thread.
        }
        // Our reference goes while the delivery still counts as running, so an
        // unregistering client is never left holding a half-deleted observer.
        observer.reset();
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            m_pDelivering = nullptr;
        }
        m_DeliveryDone.notify_all();
    }
}

void ObserverRegistry::close()
{
    std::vector<Registration> dropped;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Closed = true;
        dropped.swap(m_Observers);
    }
}

} // namespace OrvSim
