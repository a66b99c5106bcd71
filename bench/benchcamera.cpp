// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "benchcamera.h"

#include "countingfeature.h"

#include <OrvikSim.h>
#ifdef ORVIK_HAVE_ARAVIS
#include <OrvikAravis.h>
#endif

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

using TKN::OrvAPI::FeaturePtr;

BenchCamera::~BenchCamera() = default;

CameraFeatureList BenchCamera::featureList() const
{
    CameraFeatureList list(new FeatureVector);
    for (const FeaturePtr &feature : m_Features)
        list->append(feature);
    return list;
}

void BenchCamera::resetCounts()
{
    m_Calls->store(0);
}

void BenchCamera::wrap(const std::vector<FeaturePtr> &features)
{
    m_Features.clear();
    for (const FeaturePtr &feature : features)
        m_Features.push_back(FeaturePtr(new CountingFeature(feature, m_Calls)));
}

namespace {

class SimBenchCamera : public BenchCamera
{
public:
    explicit SimBenchCamera(const std::shared_ptr<OrvSim::Camera> &camera)
        : m_Camera(camera)
    {
        wrap(m_Camera->features());
    }

    // The journal tells the notification thread's calls from the GUI thread's.
    long long wireAccesses() const override
    {
        long long wire = 0;
        for (const OrvSim::JournalEntry &entry : m_Camera->journal())
            if (!entry.fromNotificationThread)
                wire += entry.wireAccesses;
        return wire;
    }

    long long otherWireAccesses() const override
    {
        return static_cast<long long>(m_Camera->wireAccesses()) - wireAccesses();
    }

    void resetCounts() override
    {
        BenchCamera::resetCounts();
        m_Camera->clearJournal();
        m_Camera->resetWireAccesses();
    }

    void setLink(double latencyMs, bool cache) override
    {
        m_Camera->setLink(OrvSim::LinkSettings{latencyMs, cache, cache});
    }

    bool changeFromCamera(const char *feature, const char *value, const char *entry) override
    {
        return m_Camera->setFromCamera(feature, value, entry) == TKN::OrvAPI::OrvErrSuccess;
    }

    void settle() override { OrvSim::Camera::waitForNotifications(); }

private:
    std::shared_ptr<OrvSim::Camera> m_Camera;
};

BenchSpec simulated(const std::string &label, const std::string &path, const char *feature, const char *value,
                    const char *entry, const char *selector)
{
    return BenchSpec{label,
                     [path]() -> std::unique_ptr<BenchCamera> {
                         return std::unique_ptr<BenchCamera>(new SimBenchCamera(OrvSim::Camera::fromFile(path)));
                     },
                     feature,
                     value,
                     entry,
                     selector};
}

#ifdef ORVIK_HAVE_ARAVIS
/// Aravis's fake camera behind a link device: Aravis's register cache in
/// front of it is the cache switched off and on.
class AravisBenchCamera : public BenchCamera
{
public:
    explicit AravisBenchCamera(const std::string &cameraFolder)
        : m_Camera(OrvArv::openFakeCameraOnLink("ORV01", cameraFolder + "/genicam/orvik-fake.xml"))
    {
        wrap(m_Camera->GetFeatures());
    }
    ~AravisBenchCamera() override { m_Camera->Close(); }

    long long wireAccesses() const override
    {
        unsigned long long own = 0, other = 0;
        OrvArv::fakeLinkAccesses(m_Camera, own, other);
        return static_cast<long long>(own);
    }

    long long otherWireAccesses() const override
    {
        unsigned long long own = 0, other = 0;
        OrvArv::fakeLinkAccesses(m_Camera, own, other);
        return static_cast<long long>(other);
    }

    void resetCounts() override
    {
        BenchCamera::resetCounts();
        OrvArv::resetFakeLinkAccesses(m_Camera);
    }

    void setLink(double latencyMs, bool cache) override { OrvArv::setFakeLink(m_Camera, latencyMs, cache); }

    bool changeFromCamera(const char *feature, const char *value, const char *) override
    {
        // The registers of cameras/genicam/orvik-fake.xml.
        unsigned int address = 0;
        if (!std::strcmp(feature, "LineStatus"))
            address = 0x8130;
        else if (!std::strcmp(feature, "TriggerSelector"))
            address = 0x8000;
        else
            return false;
        const unsigned int registerValue =
            !std::strcmp(value, "AcquisitionStart") ? 1u : std::strtoul(value, nullptr, 0);
        if (!OrvArv::writeFakeRegister(m_Camera, address, registerValue))
            return false;
        // The library polls the observed features: twice its interval and the change was seen.
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        return true;
    }

    void settle() override { OrvSim::Camera::waitForNotifications(); }

private:
    TKN::OrvAPI::CameraPtr m_Camera;
};
#endif

} // namespace

std::vector<BenchSpec> benchCameras(const std::string &cameraFolder)
{
    const std::string folder = cameraFolder + "/";
    std::vector<BenchSpec> specs = {
        simulated("exposure-mode (default camera)", folder + "exposure-mode.json", "LineInverter", "true", "Line2",
                  "AcquisitionStart"),
        simulated("line-routing", folder + "line-routing.json", "LineInverter", "true", "", "ExposureActive"),
        simulated("exposure-auto", folder + "exposure-auto.json", "LineInverter", "true", "", "AcquisitionStart"),
        simulated("syncout", folder + "syncout.json", "SyncOutLevels", "5", "", "FrameStart"),
        simulated("lineout", folder + "lineout.json", "LineOutLevels", "3", "", "FrameStart"),
        simulated("no-trigger-io", folder + "no-trigger-io.json", "Width", "64", "", "FrameStart"),
        BenchSpec{"generated, 2000 features, 8 lines",
                  []() -> std::unique_ptr<BenchCamera> {
                      return std::unique_ptr<BenchCamera>(new SimBenchCamera(
                          OrvSim::Camera::fromJson(OrvSim::Camera::largeCameraJson(2000, 8), "generated")));
                  },
                  "LineInverter", "true", "", "AcquisitionStart"},
    };
#ifdef ORVIK_HAVE_ARAVIS
    specs.push_back(BenchSpec{"Aravis fake camera (in-process, register cache)",
                              [cameraFolder]() -> std::unique_ptr<BenchCamera> {
                                  return std::unique_ptr<BenchCamera>(new AravisBenchCamera(cameraFolder));
                              },
                              "LineStatus", "1", "", "AcquisitionStart"});
#endif
    return specs;
}
