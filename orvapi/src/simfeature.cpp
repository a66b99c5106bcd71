// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "simfeature.h"

#include "cameramodel.h"
#include "notificationdispatcher.h"

#include <algorithm>
#include <cstring>

using namespace TKN::OrvAPI;

namespace OrvSim {

// Holds the model for one call; answers OrvErrNotAvailable once the camera is gone.
// The argument names the variable it declares.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define WITH_MODEL(model)                                                                                              \
    const std::shared_ptr<CameraModel> model = m_Model.lock();                                                         \
    if (!model)                                                                                                        \
        return OrvErrNotAvailable;
// NOLINTEND(bugprone-macro-parentheses)

SimFeature::SimFeature(const std::weak_ptr<CameraModel> &model, int index, const std::string &name,
                       const std::vector<std::string> &entries)
    : m_Model(model),
      m_Index(index),
      m_Name(name),
      m_Entries(entries)
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
    err = m_Observers.add(pObserver);
    model->endObserverCall(m_Index, Operation::RegisterObserver, err);
    return err;
}

OrvErrorType SimFeature::UnregisterObserver(const IFeatureObserverPtr &pObserver)
{
    const std::shared_ptr<CameraModel> model = m_Model.lock();
    if (model) {
        const OrvErrorType err = model->beginObserverCall(m_Index, Operation::UnregisterObserver);
        if (err != OrvErrSuccess)
            return err;
    }
    const OrvErrorType err = m_Observers.remove(pObserver);
    if (!model)
        return OrvErrNotAvailable;
    model->endObserverCall(m_Index, Operation::UnregisterObserver, err);
    return err;
}

} // namespace OrvSim
