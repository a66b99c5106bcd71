// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// AravisCamera: a GenICam camera through Aravis behind TKN::OrvAPI::Camera.
#ifndef ORVARV_ARAVISCAMERA_H
#define ORVARV_ARAVISCAMERA_H

#include "OrvikCamera.h"

#include <memory>

namespace OrvArv {

class AravisDevice;

class AravisCamera : public TKN::OrvAPI::Camera
{
public:
    explicit AravisCamera(const std::shared_ptr<AravisDevice> &device);
    ~AravisCamera() override;

    std::string GetId() const override;
    std::string GetModelName() const override;
    std::string GetProviderName() const override;
    const std::vector<TKN::OrvAPI::FeaturePtr> &GetFeatures() const override;
    TKN::OrvAPI::FeatureGroup GetFeatureGroups() const override;
    std::string GetFeatureDescription(const std::string &name) const override;

    TKN::OrvAPI::OrvErrorType StartAcquisition() override;
    TKN::OrvAPI::OrvErrorType StopAcquisition() override;
    bool IsAcquiring() const override;
    bool CountsFrames() const override;
    unsigned long long GetFrameCount() const override;
    TKN::OrvAPI::SignalInfo GetSignalInfo() const override;
    unsigned long long GetSignalEvents(unsigned long long afterSequence, std::vector<TKN::OrvAPI::SignalEvent> &events,
                                       std::size_t maxEvents) override;
    long long GetSignalTime() const override;
    bool GetLatestFrame(TKN::OrvAPI::FrameImage &image) override;
    void Close() override;

    const std::shared_ptr<AravisDevice> &device() const { return m_Device; }

private:
    std::shared_ptr<AravisDevice> m_Device;
};

} // namespace OrvArv

#endif // ORVARV_ARAVISCAMERA_H
