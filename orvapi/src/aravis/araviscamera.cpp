// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "araviscamera.h"

#include "aravisdevice.h"

using namespace TKN::OrvAPI;

namespace OrvArv {

AravisCamera::AravisCamera(const std::shared_ptr<AravisDevice> &device)
    : m_Device(device)
{
}

AravisCamera::~AravisCamera()
{
    // Features held by clients must not keep the camera open.
    Close();
}

std::string AravisCamera::GetId() const
{
    return "aravis:" + m_Device->id();
}

std::string AravisCamera::GetModelName() const
{
    return m_Device->modelName();
}

std::string AravisCamera::GetProviderName() const
{
    return "aravis";
}

const std::vector<FeaturePtr> &AravisCamera::GetFeatures() const
{
    return m_Device->features();
}

FeatureGroup AravisCamera::GetFeatureGroups() const
{
    return m_Device->groups();
}

std::string AravisCamera::GetFeatureDescription(const std::string &name) const
{
    return m_Device->description(name);
}

OrvErrorType AravisCamera::StartAcquisition()
{
    return m_Device->startAcquisition();
}

OrvErrorType AravisCamera::StopAcquisition()
{
    return m_Device->stopAcquisition();
}

bool AravisCamera::IsAcquiring() const
{
    return m_Device->isAcquiring();
}

bool AravisCamera::CountsFrames() const
{
    return true;
}

unsigned long long AravisCamera::GetFrameCount() const
{
    return m_Device->frameCount();
}

SignalInfo AravisCamera::GetSignalInfo() const
{
    return m_Device->signalInfo();
}

unsigned long long AravisCamera::GetSignalEvents(unsigned long long afterSequence, std::vector<SignalEvent> &events,
                                                 std::size_t maxEvents)
{
    return m_Device->signalEvents(afterSequence, events, maxEvents);
}

long long AravisCamera::GetSignalTime() const
{
    return m_Device->signalTime();
}

bool AravisCamera::GetLatestFrame(FrameImage &image)
{
    return m_Device->latestFrame(image);
}

void AravisCamera::Close()
{
    m_Device->close();
}

} // namespace OrvArv
