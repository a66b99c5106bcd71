// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// CountingFeature: a feature that counts the calls one thread makes on it.
#ifndef COUNTINGFEATURE_H
#define COUNTINGFEATURE_H

#include <OrvikCPP.h>

#include <atomic>
#include <memory>
#include <thread>

/// Forwards every call to the feature it wraps; counts those made on the
/// thread it was created on (the GUI thread), whatever the provider.
class CountingFeature : public TKN::OrvAPI::Feature
{
public:
    CountingFeature(const TKN::OrvAPI::FeaturePtr &feature, const std::shared_ptr<std::atomic<long long>> &calls);

    using TKN::OrvAPI::Feature::GetDisplayName;
    using TKN::OrvAPI::Feature::GetName;
    using TKN::OrvAPI::Feature::GetValue;
    using TKN::OrvAPI::Feature::GetValues;

    TKN::OrvAPI::OrvErrorType GetName(char *pBuffer, unsigned int &rnLength) const override;
    TKN::OrvAPI::OrvErrorType GetDisplayName(char *pBuffer, unsigned int &rnLength) const override;
    TKN::OrvAPI::OrvErrorType GetDataType(TKN::OrvAPI::OrvFeatureDataType &rType) const override;
    TKN::OrvAPI::OrvErrorType GetValue(char *pBuffer, unsigned int &rnLength) const override;
    TKN::OrvAPI::OrvErrorType GetValue(long long &rnValue) const override;
    TKN::OrvAPI::OrvErrorType GetValue(double &rfValue) const override;
    TKN::OrvAPI::OrvErrorType GetValue(bool &rbValue) const override;
    TKN::OrvAPI::OrvErrorType SetValue(const long long &rnValue) override;
    TKN::OrvAPI::OrvErrorType SetValue(const double &rfValue) override;
    TKN::OrvAPI::OrvErrorType SetValue(bool bValue) override;
    TKN::OrvAPI::OrvErrorType SetValue(const char *pStrValue) override;
    TKN::OrvAPI::OrvErrorType GetRange(long long &rnMinimum, long long &rnMaximum) const override;
    TKN::OrvAPI::OrvErrorType GetRange(double &rfMinimum, double &rfMaximum) const override;
    TKN::OrvAPI::OrvErrorType GetIncrement(long long &rnIncrement) const override;
    TKN::OrvAPI::OrvErrorType GetIncrement(double &rfIncrement) const override;
    TKN::OrvAPI::OrvErrorType GetValues(const char **pStrValues, unsigned int &rnSize) const override;
    TKN::OrvAPI::OrvErrorType IsValueAvailable(const char *pStrValue, bool &rbAvailable) const override;
    TKN::OrvAPI::OrvErrorType IsWritable(bool &rbWritable) const override;
    TKN::OrvAPI::OrvErrorType RunCommand() override;
    TKN::OrvAPI::OrvErrorType RegisterObserver(const TKN::OrvAPI::IFeatureObserverPtr &pObserver) override;
    TKN::OrvAPI::OrvErrorType UnregisterObserver(const TKN::OrvAPI::IFeatureObserverPtr &pObserver) override;

private:
    void count() const;

    const TKN::OrvAPI::FeaturePtr m_Feature;
    const std::shared_ptr<std::atomic<long long>> m_Calls;
    const std::thread::id m_Thread;
};

#endif // COUNTINGFEATURE_H
