// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "countingfeature.h"

using namespace TKN::OrvAPI;

CountingFeature::CountingFeature(const FeaturePtr &feature, const std::shared_ptr<std::atomic<long long>> &calls)
    : m_Feature(feature),
      m_Calls(calls),
      m_Thread(std::this_thread::get_id())
{
}

// A text or list read by the two-call protocol counts once, at the call
// that fills the buffer, as the simulator's journal records it.
void CountingFeature::count() const
{
    if (std::this_thread::get_id() == m_Thread)
        ++*m_Calls;
}

OrvErrorType CountingFeature::GetName(char *pBuffer, unsigned int &rnLength) const
{
    if (pBuffer)
        count();
    return m_Feature->GetName(pBuffer, rnLength);
}

OrvErrorType CountingFeature::GetDisplayName(char *pBuffer, unsigned int &rnLength) const
{
    if (pBuffer)
        count();
    return m_Feature->GetDisplayName(pBuffer, rnLength);
}

OrvErrorType CountingFeature::GetDataType(OrvFeatureDataType &rType) const
{
    count();
    return m_Feature->GetDataType(rType);
}

OrvErrorType CountingFeature::GetValue(char *pBuffer, unsigned int &rnLength) const
{
    if (pBuffer)
        count();
    return m_Feature->GetValue(pBuffer, rnLength);
}

OrvErrorType CountingFeature::GetValue(long long &rnValue) const
{
    count();
    return m_Feature->GetValue(rnValue);
}

OrvErrorType CountingFeature::GetValue(double &rfValue) const
{
    count();
    return m_Feature->GetValue(rfValue);
}

OrvErrorType CountingFeature::GetValue(bool &rbValue) const
{
    count();
    return m_Feature->GetValue(rbValue);
}

OrvErrorType CountingFeature::SetValue(const long long &rnValue)
{
    count();
    return m_Feature->SetValue(rnValue);
}

OrvErrorType CountingFeature::SetValue(const double &rfValue)
{
    count();
    return m_Feature->SetValue(rfValue);
}

OrvErrorType CountingFeature::SetValue(bool bValue)
{
    count();
    return m_Feature->SetValue(bValue);
}

OrvErrorType CountingFeature::SetValue(const char *pStrValue)
{
    count();
    return m_Feature->SetValue(pStrValue);
}

OrvErrorType CountingFeature::GetRange(long long &rnMinimum, long long &rnMaximum) const
{
    count();
    return m_Feature->GetRange(rnMinimum, rnMaximum);
}

OrvErrorType CountingFeature::GetRange(double &rfMinimum, double &rfMaximum) const
{
    count();
    return m_Feature->GetRange(rfMinimum, rfMaximum);
}

OrvErrorType CountingFeature::GetIncrement(long long &rnIncrement) const
{
    count();
    return m_Feature->GetIncrement(rnIncrement);
}

OrvErrorType CountingFeature::GetIncrement(double &rfIncrement) const
{
    count();
    return m_Feature->GetIncrement(rfIncrement);
}

OrvErrorType CountingFeature::GetValues(const char **pStrValues, unsigned int &rnSize) const
{
    if (pStrValues)
        count();
    return m_Feature->GetValues(pStrValues, rnSize);
}

OrvErrorType CountingFeature::IsValueAvailable(const char *pStrValue, bool &rbAvailable) const
{
    count();
    return m_Feature->IsValueAvailable(pStrValue, rbAvailable);
}

OrvErrorType CountingFeature::IsWritable(bool &rbWritable) const
{
    count();
    return m_Feature->IsWritable(rbWritable);
}

OrvErrorType CountingFeature::RunCommand()
{
    count();
    return m_Feature->RunCommand();
}

OrvErrorType CountingFeature::RegisterObserver(const IFeatureObserverPtr &pObserver)
{
    count();
    return m_Feature->RegisterObserver(pObserver);
}

OrvErrorType CountingFeature::UnregisterObserver(const IFeatureObserverPtr &pObserver)
{
    count();
    return m_Feature->UnregisterObserver(pObserver);
}
