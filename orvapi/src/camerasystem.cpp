// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// TKN::OrvAPI::CameraSystem, OpenError and the defaults of Camera.
#include "OrvikCamera.h"

#include "cameraprovider.h"

#include <charconv>
#include <cmath>

using namespace OrvSim;

namespace TKN {
namespace OrvAPI {

namespace {

std::string openErrorText(const std::string &source, int line, const std::string &message)
{
    return line > 0 ? source + ":" + std::to_string(line) + ": " + message : source + ": " + message;
}

} // namespace

OpenError::OpenError(const std::string &source, int line, const std::string &message)
    : std::runtime_error(openErrorText(source, line, message)),
      m_Source(source),
      m_Line(line),
      m_Message(message)
{
}

Camera::~Camera() = default;

FeaturePtr Camera::GetFeature(const std::string &name) const
{
    std::string featureName;
    for (const FeaturePtr &feature : GetFeatures()) {
        if (feature && feature->GetName(featureName) == OrvErrSuccess && featureName == name)
            return feature;
    }
    return FeaturePtr();
}

FeatureGroup Camera::GetFeatureGroups() const
{
    FeatureGroup root;
    std::string name;
    for (const FeaturePtr &feature : GetFeatures()) {
        if (feature && feature->GetName(name) == OrvErrSuccess)
            root.features.push_back(name);
    }
    return root;
}

std::string Camera::GetFeatureDescription(const std::string &) const
{
    return std::string();
}

bool Camera::CountsFrames() const
{
    return false;
}

unsigned long long Camera::GetFrameCount() const
{
    return 0;
}

unsigned long long Camera::GetMissedTriggerCount() const
{
    return 0;
}

SignalInfo Camera::GetSignalInfo() const
{
    return SignalInfo();
}

unsigned long long Camera::GetSignalEvents(unsigned long long, std::vector<SignalEvent> &, std::size_t)
{
    return 0;
}

long long Camera::GetSignalTime() const
{
    return 0;
}

bool Camera::GetLatestFrame(FrameImage &)
{
    return false;
}

struct CameraSystem::Private
{
    std::vector<std::unique_ptr<CameraProvider>> providers;

    CameraProvider *provider(const std::string &name) const
    {
        for (const auto &provider : providers) {
            if (provider->name() == name)
                return provider.get();
        }
        return nullptr;
    }
};

CameraSystem::CameraSystem(const std::string &cameraFolder)
    : m_Private(new Private)
{
    m_Private->providers.push_back(makeSimProvider(cameraFolder));
    if (std::unique_ptr<CameraProvider> aravis = makeAravisProvider(cameraFolder))
        m_Private->providers.push_back(std::move(aravis));
}

CameraSystem::~CameraSystem() = default;

std::vector<std::string> CameraSystem::GetProviderNames() const
{
    std::vector<std::string> names;
    for (const auto &provider : m_Private->providers)
        names.push_back(provider->name());
    return names;
}

std::vector<CameraInfo> CameraSystem::ListCameras() const
{
    std::vector<CameraInfo> cameras;
    for (const auto &provider : m_Private->providers) {
        for (CameraInfo &info : provider->list())
            cameras.push_back(std::move(info));
    }
    return cameras;
}

std::vector<CameraInfo> CameraSystem::FindCameras()
{
    std::vector<CameraInfo> cameras;
    for (const auto &provider : m_Private->providers) {
        for (CameraInfo &info : provider->find())
            cameras.push_back(std::move(info));
    }
    return cameras;
}

CameraPtr CameraSystem::OpenCamera(const std::string &id)
{
    const std::size_t colon = id.find(':');
    if (colon != std::string::npos) {
        const std::string prefix = id.substr(0, colon);
        if (CameraProvider *provider = m_Private->provider(prefix))
            return provider->open(id.substr(colon + 1));
        if (prefix == "aravis")
            throw OpenError(id, 0, "this build of the camera library has no Aravis provider");
    }
    // No provider prefix: a simulated camera's name or file, as before providers.
    return m_Private->provider("sim")->open(id);
}

OrvErrorType ReadValueText(const Feature &feature, OrvFeatureDataType type, std::string &text, int precision)
{
    text.clear();
    switch (type) {
    case OrvFeatureDataInt: {
        long long value = 0;
        const OrvErrorType err = feature.GetValue(value);
        if (err == OrvErrSuccess)
            text = std::to_string(value);
        return err;
    }
    case OrvFeatureDataFloat: {
        double value = 0.0;
        const OrvErrorType err = feature.GetValue(value);
        if (err != OrvErrSuccess)
            return err;
        if (std::isnan(value)) {
            text = "nan";
        } else if (std::isinf(value)) {
            text = value < 0 ? "-inf" : "inf";
        } else {
            char buffer[64];
            const std::to_chars_result result =
                std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::general, precision);
            text.assign(buffer, result.ptr);
        }
        return err;
    }
    case OrvFeatureDataEnum:
    case OrvFeatureDataString: return feature.GetValue(text);
    case OrvFeatureDataBool: {
        bool value = false;
        const OrvErrorType err = feature.GetValue(value);
        if (err == OrvErrSuccess)
            text = value ? "true" : "false";
        return err;
    }
    default: return OrvErrWrongType;
    }
}

} // namespace OrvAPI
} // namespace TKN
