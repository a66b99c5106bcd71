// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// Helpers shared by the camera library's tests.
#ifndef ORVAPITEST_H
#define ORVAPITEST_H

#include <OrvikSim.h>
#include <testcamera.h>

#include <QString>
#include <QStringList>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace OrvapiTest {

using namespace TKN::OrvAPI;

inline QString q(const std::string &text)
{
    return QString::fromStdString(text);
}

inline QStringList q(const std::vector<std::string> &texts)
{
    QStringList result;
    for (const std::string &text : texts)
        result << q(text);
    return result;
}

/// Carries out one step: "Feature=value" with the SetValue overload of the
/// feature's type, "camera:Feature=value" as a camera-side change, "run:Command".
inline OrvErrorType apply(OrvSim::Camera &camera, const QString &step)
{
    const QString assignment = step.section(':', -1);
    const std::string featureName = assignment.section('=', 0, 0).toStdString();
    const std::string value = assignment.section('=', 1).toStdString();
    if (step.startsWith("camera:"))
        return camera.setFromCamera(featureName, value);
    const FeaturePtr feature = camera.feature(featureName);
    if (!feature)
        return OrvErrNotFound;
    if (step.startsWith("run:"))
        return feature->RunCommand();
    OrvFeatureDataType type = OrvFeatureDataUnknown;
    feature->GetDataType(type);
    switch (type) {
    case OrvFeatureDataInt: return feature->SetValue(static_cast<const long long &>(std::stoll(value)));
    case OrvFeatureDataFloat: return feature->SetValue(static_cast<const double &>(std::stod(value)));
    case OrvFeatureDataBool: return feature->SetValue(value == "true");
    default: return feature->SetValue(value.c_str());
    }
}

/// Records the name of every feature it is told about, and the thread.
class RecordingObserver : public IFeatureObserver
{
public:
    void NotifyFeatureChange(const FeaturePtr &feature) override
    {
        std::string featureName;
        feature->GetName(featureName);
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Names << q(featureName);
        m_Threads.push_back(std::this_thread::get_id());
    }
    QStringList names() const
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Names;
    }
    std::vector<std::thread::id> threads() const
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Threads;
    }

private:
    mutable std::mutex m_Mutex;
    QStringList m_Names;
    std::vector<std::thread::id> m_Threads;
};

/// Holds its delivery until released, to catch the library in the middle of one.
class BlockingObserver : public IFeatureObserver
{
public:
    void NotifyFeatureChange(const FeaturePtr &) override
    {
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_Entered = true;
        m_Changed.notify_all();
        m_Changed.wait(lock, [this] { return m_Released; });
        ++m_Deliveries;
    }
    void waitUntilEntered()
    {
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_Changed.wait(lock, [this] { return m_Entered; });
    }
    void release()
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Released = true;
        m_Changed.notify_all();
    }
    int deliveries() const
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Deliveries;
    }

private:
    mutable std::mutex m_Mutex;
    std::condition_variable m_Changed;
    bool m_Entered = false;
    bool m_Released = false;
    int m_Deliveries = 0;
};

} // namespace OrvapiTest

#endif // ORVAPITEST_H
