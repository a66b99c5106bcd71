#include "benchcamera.h"

#include "countingfeature.h"

#include <OrvikSim.h>

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
    explicit SimBenchCamera(const std::shared_ptr<OrvSim::Camera> &camera) : m_Camera(camera)
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
                     feature, value, entry, selector};
}

} // namespace

std::unique_ptr<BenchCamera> makeAravisBenchCamera(const std::string &cameraFolder);

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
                              [cameraFolder]() { return makeAravisBenchCamera(cameraFolder); }, "LineStatus", "1",
                              "", "AcquisitionStart"});
#endif
    return specs;
}
