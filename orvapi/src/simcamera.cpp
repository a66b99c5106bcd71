// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "simcamera.h"

#include "OrvikFeatureNames.h"

using namespace TKN::OrvAPI;

namespace OrvSim {

SimCamera::SimCamera(const std::shared_ptr<OrvSim::Camera> &camera, const std::string &id)
    : m_Id(id),
      m_ModelName(camera->name()),
      m_Features(camera->features()),
      m_Camera(camera)
{
}

SimCamera::~SimCamera() = default;

std::string SimCamera::GetId() const
{
    return m_Id;
}

std::string SimCamera::GetModelName() const
{
    return m_ModelName;
}

std::string SimCamera::GetProviderName() const
{
    return "sim";
}

const std::vector<FeaturePtr> &SimCamera::GetFeatures() const
{
    return m_Features;
}

FeatureGroup SimCamera::GetFeatureGroups() const
{
    const std::shared_ptr<OrvSim::Camera> camera = simulator();
    return camera ? camera->featureGroups() : TKN::OrvAPI::Camera::GetFeatureGroups();
}

OrvErrorType SimCamera::runCommand(const char *name)
{
    const std::shared_ptr<OrvSim::Camera> camera = simulator();
    if (!camera)
        return OrvErrNotAvailable;
    const FeaturePtr feature = camera->feature(name);
    return feature ? feature->RunCommand() : OrvErrorType(OrvErrNotFound);
}

OrvErrorType SimCamera::StartAcquisition()
{
    return runCommand(FeatureNames::AcquisitionStart);
}

OrvErrorType SimCamera::StopAcquisition()
{
    return runCommand(FeatureNames::AcquisitionStop);
}

bool SimCamera::IsAcquiring() const
{
    const std::shared_ptr<OrvSim::Camera> camera = simulator();
    return camera && camera->isAcquiring();
}

bool SimCamera::CountsFrames() const
{
    return true;
}

unsigned long long SimCamera::GetFrameCount() const
{
    const std::shared_ptr<OrvSim::Camera> camera = simulator();
    return camera ? camera->timing().framesDelivered() : 0;
}

unsigned long long SimCamera::GetMissedTriggerCount() const
{
    const std::shared_ptr<OrvSim::Camera> camera = simulator();
    return camera ? camera->timing().missedTriggers() : 0;
}

SignalInfo SimCamera::GetSignalInfo() const
{
    const std::shared_ptr<OrvSim::Camera> camera = simulator();
    return camera ? camera->timing().signalInfo() : SignalInfo();
}

unsigned long long SimCamera::GetSignalEvents(unsigned long long afterSequence, std::vector<SignalEvent> &events,
                                              std::size_t maxEvents)
{
    const std::shared_ptr<OrvSim::Camera> camera = simulator();
    return camera ? camera->timing().readEvents(afterSequence, events, maxEvents) : 0;
}

long long SimCamera::GetSignalTime() const
{
    const std::shared_ptr<OrvSim::Camera> camera = simulator();
    return camera ? camera->timing().now() : 0;
}

bool SimCamera::GetLatestFrame(FrameImage &image)
{
    const std::shared_ptr<OrvSim::Camera> camera = simulator();
    return camera && camera->latestFrame(image);
}

void SimCamera::Close()
{
    std::shared_ptr<OrvSim::Camera> closing;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        closing.swap(m_Camera);
    }
}

std::shared_ptr<OrvSim::Camera> SimCamera::simulator() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Camera;
}

std::shared_ptr<OrvSim::Camera> Camera::of(const CameraPtr &camera)
{
    const auto *simCamera = dynamic_cast<const SimCamera *>(camera.get());
    return simCamera ? simCamera->simulator() : nullptr;
}

} // namespace OrvSim
