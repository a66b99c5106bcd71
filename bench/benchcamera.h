// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// BenchCamera: a camera the page benchmark measures, whatever its provider.
#ifndef BENCHCAMERA_H
#define BENCHCAMERA_H

#include <featurelist.h>

#include <OrvikCPP.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

/// The camera's features as the page gets them, each counting the GUI
/// thread's calls, and what the benchmark needs of the camera's link.
class BenchCamera
{
public:
    virtual ~BenchCamera();

    CameraFeatureList featureList() const;
    /// Since resetCounts.
    long long calls() const { return m_Calls->load(); }
    /// Accesses that reached the camera since resetCounts, of the GUI thread
    /// and of the library's own threads (observers' reads, polling); -1 when
    /// the link cannot tell.
    virtual long long wireAccesses() const = 0;
    virtual long long otherWireAccesses() const = 0;
    virtual void resetCounts();

    virtual void setLink(double latencyMs, bool cache) = 0;
    /// A change the camera makes by itself; false when it cannot.
    virtual bool changeFromCamera(const char *feature, const char *value, const char *entry) = 0;
    /// Returns once the camera's notifications were delivered.
    virtual void settle() = 0;

protected:
    void wrap(const std::vector<TKN::OrvAPI::FeaturePtr> &features);

private:
    std::shared_ptr<std::atomic<long long>> m_Calls = std::make_shared<std::atomic<long long>>(0);
    std::vector<TKN::OrvAPI::FeaturePtr> m_Features;
};

/// A camera of the benchmark and the changes it makes by itself.
struct BenchSpec
{
    std::string label;
    std::function<std::unique_ptr<BenchCamera>()> make;
    const char *changedFeature;
    const char *changedValue;
    const char *changedEntry;
    const char *otherTriggerSelector;
};

/// The shipped cameras of the folder, the generated 2000-feature camera, and
/// Aravis's fake camera when the library has Aravis.
std::vector<BenchSpec> benchCameras(const std::string &cameraFolder);

#endif // BENCHCAMERA_H
