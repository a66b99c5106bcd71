// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// SimCamera: a simulated camera behind TKN::OrvAPI::Camera.
#ifndef ORVSIM_SIMCAMERA_H
#define ORVSIM_SIMCAMERA_H

#include "OrvikSim.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace OrvSim {

class SimCamera : public TKN::OrvAPI::Camera
{
public:
    SimCamera(const std::shared_ptr<OrvSim::Camera> &camera, const std::string &id);
    ~SimCamera() override;

    std::string GetId() const override;
    std::string GetModelName() const override;
    std::string GetProviderName() const override;
    const std::vector<TKN::OrvAPI::FeaturePtr> &GetFeatures() const override;
    TKN::OrvAPI::FeatureGroup GetFeatureGroups() const override;

    TKN::OrvAPI::OrvErrorType StartAcquisition() override;
    TKN::OrvAPI::OrvErrorType StopAcquisition() override;
    bool IsAcquiring() const override;
    bool CountsFrames() const override;
    unsigned long long GetFrameCount() const override;
    unsigned long long GetMissedTriggerCount() const override;
    TKN::OrvAPI::SignalInfo GetSignalInfo() const override;
    unsigned long long GetSignalEvents(unsigned long long afterSequence, std::vector<TKN::OrvAPI::SignalEvent> &events,
                                       std::size_t maxEvents) override;
    long long GetSignalTime() const override;
    bool GetLatestFrame(TKN::OrvAPI::FrameImage &image) override;
    void Close() override;

    /// Null once closed.
    std::shared_ptr<OrvSim::Camera> simulator() const;

private:
    TKN::OrvAPI::OrvErrorType runCommand(const char *name);

    const std::string m_Id;
    const std::string m_ModelName;
    // A copy: the features outlive the simulated camera and then answer
    // OrvErrNotAvailable.
    const std::vector<TKN::OrvAPI::FeaturePtr> m_Features;
    mutable std::mutex m_Mutex;
    std::shared_ptr<OrvSim::Camera> m_Camera;
};

} // namespace OrvSim

#endif // ORVSIM_SIMCAMERA_H
