// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// ObserverRegistry: the observers of one feature, and delivery to them on the
// library's notification thread. Shared by every provider's features.
#ifndef ORVAPI_OBSERVERREGISTRY_H
#define ORVAPI_OBSERVERREGISTRY_H

#include "OrvikCPP.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace OrvSim {

/// Kept apart from any camera lock, so that delivering never holds one.
class ObserverRegistry
{
public:
    TKN::OrvAPI::OrvErrorType add(const TKN::OrvAPI::IFeatureObserverPtr &pObserver);
    /// Waits for a delivery to this observer that is running, unless called
    /// on the notification thread itself.
    TKN::OrvAPI::OrvErrorType remove(const TKN::OrvAPI::IFeatureObserverPtr &pObserver);

    bool empty();
    /// The observers registered now, by registration number, in order.
    std::vector<std::uint64_t> registrations();
    /// Runs on the notification thread: tells each of `recipients` that is
    /// still registered.
    void deliver(const TKN::OrvAPI::FeaturePtr &feature, const std::vector<std::uint64_t> &recipients);
    /// The camera is closing: no more deliveries, and observers are let go.
    void close();

private:
    struct Registration
    {
        TKN::OrvAPI::IFeatureObserverPtr observer;
        std::uint64_t number;
    };

    std::mutex m_Mutex;
    std::condition_variable m_DeliveryDone;
    std::vector<Registration> m_Observers;
    const TKN::OrvAPI::IFeatureObserver *m_pDelivering = nullptr;
    bool m_Closed = false;
};

} // namespace OrvSim

#endif // ORVAPI_OBSERVERREGISTRY_H
