// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// bench_orvapi: load time of a large simulated camera, feature name lookups,
// notification throughput and latency. Prints numbers, asserts nothing.
#include <OrvikSim.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

using namespace TKN::OrvAPI;
using Clock = std::chrono::steady_clock;

namespace {

double microseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::micro>(duration).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[std::min(values.size() - 1, static_cast<std::size_t>(p * values.size()))];
}

class CountingObserver : public IFeatureObserver
{
public:
    void NotifyFeatureChange(const FeaturePtr &) override
    {
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            ++m_Count;
            m_Last = Clock::now();
        }
        m_Changed.notify_all();
    }

    long long waitFor(long long count, Clock::time_point &at)
    {
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_Changed.wait(lock, [&] { return m_Count >= count; });
        at = m_Last;
        return m_Count;
    }

private:
    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    long long m_Count = 0;
    Clock::time_point m_Last;
};

FeaturePtr findByName(const std::vector<FeaturePtr> &features, const std::string &name)
{
    std::string featureName;
    for (const FeaturePtr &feature : features)
        if (feature->GetName(featureName) == OrvErrSuccess && featureName == name)
            return feature;
    return FeaturePtr();
}

} // namespace

int main()
{
    const int featureCount = 2000;
    const int lineCount = 8;

    Clock::time_point start = Clock::now();
    const std::string json = OrvSim::Camera::largeCameraJson(featureCount, lineCount);
    std::printf("description of %d features: %zu bytes, generated in %.0f us\n", featureCount, json.size(),
                microseconds(Clock::now() - start));

    std::vector<double> loads;
    for (int run = 0; run < 20; ++run) {
        start = Clock::now();
        std::shared_ptr<OrvSim::Camera> camera = OrvSim::Camera::fromJson(json, "large");
        loads.push_back(microseconds(Clock::now() - start));
    }
    std::printf("load: median %.0f us, slowest %.0f us (20 runs)\n", median(loads), percentile(loads, 1.0));

    const std::shared_ptr<OrvSim::Camera> camera = OrvSim::Camera::fromJson(json, "large");
    const std::vector<FeaturePtr> &features = camera->features();
    std::vector<std::string> names;
    for (std::size_t k = 0; k < features.size(); k += 10) {
        std::string name;
        features[k]->GetName(name);
        names.push_back(name);
    }
    names.push_back("TriggerMode");
    names.push_back("NoSuchFeature");

    for (bool journaling : {true, false}) {
        camera->setJournaling(journaling);
        camera->clearJournal();
        long long reads = 0;
        start = Clock::now();
        for (const std::string &name : names) {
            findByName(features, name);
            ++reads;
        }
        const double elapsed = microseconds(Clock::now() - start);
        std::printf("name lookup by walking %d features (journal %s): %.1f us per lookup, %.3f us per GetName\n",
                    featureCount, journaling ? "on" : "off", elapsed / reads,
                    elapsed / (reads * static_cast<double>(featureCount) / 2));
    }
    camera->setJournaling(true);

    start = Clock::now();
    const int hashLookups = 100000;
    for (int k = 0; k < hashLookups; ++k)
        camera->feature(names[k % names.size()]);
    std::printf("Camera::feature(name): %.3f us per lookup\n", microseconds(Clock::now() - start) / hashLookups);

    // Throughput: camera-side changes as fast as they can be queued.
    CountingObserver *counter = new CountingObserver;
    const IFeatureObserverPtr observer(counter);
    const FeaturePtr status = camera->feature("LineStatus");
    status->RegisterObserver(observer);
    const int changes = 100000;
    start = Clock::now();
    for (int k = 0; k < changes; ++k)
        camera->setFromCamera("LineStatus", k % 2 ? "true" : "false");
    const double queued = microseconds(Clock::now() - start);
    Clock::time_point last;
    counter->waitFor(changes, last);
    const double delivered = microseconds(last - start);
    std::printf("throughput: %d changes queued in %.0f us, all delivered after %.0f us (%.0f notifications/s)\n",
                changes, queued, delivered, changes / (delivered / 1e6));

    // Latency: one change at a time, from the write until the observer runs.
    std::vector<double> latencies;
    long long expected = changes;
    for (int k = 0; k < 2000; ++k) {
        const Clock::time_point written = Clock::now();
        camera->setFromCamera("LineStatus", k % 2 ? "true" : "false");
        counter->waitFor(++expected, last);
        latencies.push_back(microseconds(last - written));
    }
    std::printf("latency: median %.1f us, 99th percentile %.1f us (2000 changes)\n", median(latencies),
                percentile(latencies, 0.99));
    status->UnregisterObserver(observer);

    // A selector change notifies every selected feature and their dependents.
    for (const FeaturePtr &feature : features)
        feature->RegisterObserver(observer);
    const FeaturePtr lineSelector = camera->feature("LineSelector");
    OrvSim::Camera::waitForNotifications();
    const int selections = 2000;
    start = Clock::now();
    for (int k = 0; k < selections; ++k)
        lineSelector->SetValue(("Line" + std::to_string(k % lineCount)).c_str());
    OrvSim::Camera::waitForNotifications();
    std::printf("line selector write with every feature observed: %.1f us each, notifications included\n",
                microseconds(Clock::now() - start) / selections);
    for (const FeaturePtr &feature : features)
        feature->UnregisterObserver(observer);
    return 0;
}
