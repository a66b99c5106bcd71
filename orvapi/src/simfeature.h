// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// SimFeature: one feature of a simulated camera, behind TKN::OrvAPI::Feature.
#ifndef ORVSIM_SIMFEATURE_H
#define ORVSIM_SIMFEATURE_H

#include "OrvikCPP.h"

#include "observerregistry.h"

#include <memory>
#include <string>
#include <vector>

namespace OrvSim {

class CameraModel;

/// Forwards every operation to its camera model, which it does not keep alive:
/// once the camera is gone the feature answers OrvErrNotAvailable.
class SimFeature : public TKN::OrvAPI::Feature
{
public:
    SimFeature(const std::weak_ptr<CameraModel> &model, int index, const std::string &name,
               const std::vector<std::string> &entries);
    ~SimFeature() override;

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

    ObserverRegistry &observers() { return m_Observers; }

    /// Copies text into a client's buffer by the two-call protocol.
    static TKN::OrvAPI::OrvErrorType copyText(const std::string &text, char *pBuffer, unsigned int &rnLength);

private:
    std::weak_ptr<CameraModel> m_Model;
    const int m_Index;
    // Immutable copies: GetValues hands out pointers that must outlive the camera.
    const std::string m_Name;
    const std::vector<std::string> m_Entries;

    ObserverRegistry m_Observers;
};

} // namespace OrvSim

#endif // ORVSIM_SIMFEATURE_H
