#include "simfeature.h"

#include "cameramodel.h"
#include "notificationdispatcher.h"

#include <algorithm>
#include <atomic>
#include <cstring>

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

// Holds the model for one call; answers OrvErrNotAvailable once the camera is gone.
#define WITH_MODEL(model)                                      \
    const std::shared_ptr<CameraModel> model = m_Model.lock(); \
    if (!model)                                                \
        return OrvErrNotAvailable;

SimFeature::SimFeature(const std::weak_ptr<CameraModel> &model, int index, const std::string &name,
                       const std::vector<std::string> &entries)
    : m_Model(model), m_Index(index), m_Name(name), m_Entries(entries)
{
}

SimFeature::~SimFeature() = default;

OrvErrorType SimFeature::copyText(const std::string &text, char *pBuffer, unsigned int &rnLength)
{
    const unsigned int length = static_cast<unsigned int>(text.size());
    if (!pBuffer) {
        rnLength = length;
        return OrvErrSuccess;
    }
    const unsigned int copied = std::min(rnLength, length);
    std::memcpy(pBuffer, text.data(), copied);
    if (copied < rnLength)
        pBuffer[copied] = '\0';
    const bool tooSmall = rnLength < length;
    rnLength = length;
    return tooSmall ? OrvErrMoreData : OrvErrSuccess;
}

OrvErrorType SimFeature::GetName(char *pBuffer, unsigned int &rnLength) const
{
    WITH_MODEL(model)
    return model->getName(m_Index, pBuffer, rnLength);
}

OrvErrorType SimFeature::GetDisplayName(char *pBuffer, unsigned int &rnLength) const
{
    WITH_MODEL(model)
    return model->getDisplayName(m_Index, pBuffer, rnLength);
}

OrvErrorType SimFeature::GetDataType(OrvFeatureDataType &rType) const
{
    WITH_MODEL(model)
    return model->getDataType(m_Index, rType);
}

OrvErrorType SimFeature::GetValue(char *pBuffer, unsigned int &rnLength) const
{
    WITH_MODEL(model)
    return model->getText(m_Index, pBuffer, rnLength);
}

OrvErrorType SimFeature::GetValue(long long &rnValue) const
{
    WITH_MODEL(model)
    return model->getInteger(m_Index, rnValue);
}

OrvErrorType SimFeature::GetValue(double &rfValue) const
{
    WITH_MODEL(model)
    return model->getFloat(m_Index, rfValue);
}

OrvErrorType SimFeature::GetValue(bool &rbValue) const
{
    WITH_MODEL(model)
    return model->getBool(m_Index, rbValue);
}

OrvErrorType SimFeature::SetValue(const long long &rnValue)
{
    WITH_MODEL(model)
    Incoming value(Incoming::Kind::Integer);
    value.i = rnValue;
    return model->setValue(m_Index, value);
}

OrvErrorType SimFeature::SetValue(const double &rfValue)
{
    WITH_MODEL(model)
    Incoming value(Incoming::Kind::Float);
    value.f = rfValue;
    return model->setValue(m_Index, value);
}

OrvErrorType SimFeature::SetValue(bool bValue)
{
    WITH_MODEL(model)
    Incoming value(Incoming::Kind::Bool);
    value.b = bValue;
    return model->setValue(m_Index, value);
}

OrvErrorType SimFeature::SetValue(const char *pStrValue)
{
    if (!pStrValue)
        return OrvErrBadParameter;
    WITH_MODEL(model)
    Incoming value(Incoming::Kind::Text);
    value.s = pStrValue;
    return model->setValue(m_Index, value);
}

OrvErrorType SimFeature::GetRange(long long &rnMinimum, long long &rnMaximum) const
{
    WITH_MODEL(model)
    return model->getIntegerRange(m_Index, rnMinimum, rnMaximum);
}

OrvErrorType SimFeature::GetRange(double &rfMinimum, double &rfMaximum) const
{
    WITH_MODEL(model)
    return model->getFloatRange(m_Index, rfMinimum, rfMaximum);
}

OrvErrorType SimFeature::GetIncrement(long long &rnIncrement) const
{
    WITH_MODEL(model)
    return model->getIntegerIncrement(m_Index, rnIncrement);
}

OrvErrorType SimFeature::GetIncrement(double &rfIncrement) const
{
    WITH_MODEL(model)
    return model->getFloatIncrement(m_Index, rfIncrement);
}

OrvErrorType SimFeature::GetValues(const char **pStrValues, unsigned int &rnSize) const
{
    WITH_MODEL(model)
    return model->getValues(m_Index, m_Entries, pStrValues, rnSize);
}

OrvErrorType SimFeature::IsValueAvailable(const char *pStrValue, bool &rbAvailable) const
{
    WITH_MODEL(model)
    return model->isValueAvailable(m_Index, pStrValue, rbAvailable);
}

OrvErrorType SimFeature::IsWritable(bool &rbWritable) const
{
    WITH_MODEL(model)
    return model->isWritable(m_Index, rbWritable);
}

OrvErrorType SimFeature::RunCommand()
{
    WITH_MODEL(model)
    return model->runCommand(m_Index);
}

OrvErrorType SimFeature::RegisterObserver(const IFeatureObserverPtr &pObserver)
{
    WITH_MODEL(model)
    OrvErrorType err = model->beginObserverCall(m_Index, Operation::RegisterObserver);
    if (err != OrvErrSuccess)
        return err;
    if (!pObserver) {
        err = OrvErrBadParameter;
    } else {
        std::lock_guard<std::mutex> lock(m_ObserverMutex);
        if (findRegistration(m_Observers, pObserver.get()) != m_Observers.end())
            err = OrvErrAlreadyRegistered;
        else
            m_Observers.push_back(Registration{pObserver, ++s_LastRegistration});
    }
    model->endObserverCall(m_Index, Operation::RegisterObserver, err);
    return err;
}

OrvErrorType SimFeature::UnregisterObserver(const IFeatureObserverPtr &pObserver)
{
    const std::shared_ptr<CameraModel> model = m_Model.lock();
    OrvErrorType err = OrvErrSuccess;
    if (model) {
        err = model->beginObserverCall(m_Index, Operation::UnregisterObserver);
        if (err != OrvErrSuccess)
            return err;
    }
    IFeatureObserverPtr removed;
    if (!pObserver) {
        err = OrvErrBadParameter;
    } else {
        std::unique_lock<std::mutex> lock(m_ObserverMutex);
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
    if (!model)
        return OrvErrNotAvailable;
    model->endObserverCall(m_Index, Operation::UnregisterObserver, err);
    return err;
}

std::vector<std::uint64_t> SimFeature::registrations()
{
    std::lock_guard<std::mutex> lock(m_ObserverMutex);
    std::vector<std::uint64_t> numbers;
    numbers.reserve(m_Observers.size());
    for (const Registration &registration : m_Observers)
        numbers.push_back(registration.number);
    return numbers;
}

void SimFeature::deliver(const FeaturePtr &self, const std::vector<std::uint64_t> &recipients)
{
    if (m_Model.expired())
        return;
    // Only observers registered when the change happened, and still
    // registered now, hear of it: a client that unregisters around its own
    // writes is not told of them later.
    for (const std::uint64_t number : recipients) {
        IFeatureObserverPtr observer;
        {
            std::lock_guard<std::mutex> lock(m_ObserverMutex);
            const auto found = std::find_if(m_Observers.begin(), m_Observers.end(),
                                            [number](const Registration &r) { return r.number == number; });
            if (found == m_Observers.end())
                continue;
            observer = found->observer;
            m_pDelivering = observer.get();
        }
        try {
            observer->NotifyFeatureChange(self);
        } catch (...) {
            // An observer's exception must not end the library's notification thread.
        }
        // Our reference goes while the delivery still counts as running, so an
        // unregistering client is never left holding a half-deleted observer.
        observer.reset();
        {
            std::lock_guard<std::mutex> lock(m_ObserverMutex);
            m_pDelivering = nullptr;
        }
        m_DeliveryDone.notify_all();
    }
}

void SimFeature::dropObservers()
{
    std::vector<Registration> dropped;
    {
        std::lock_guard<std::mutex> lock(m_ObserverMutex);
        dropped.swap(m_Observers);
    }
}

} // namespace OrvSim
