// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// AravisDevice: one open GenICam device through Aravis, shared by its
// features and its camera object.
#ifndef ORVARV_ARAVISDEVICE_H
#define ORVARV_ARAVISDEVICE_H

#include "OrvikCamera.h"
#include "signallog.h"

#include <arv.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace OrvArv {

class AravisFeature;

/// Aravis is not safe to call from two threads on one device: every call
/// holds mutex(). Features keep only a weak reference; once the device is
/// closed they answer OrvErrNotAvailable.
class AravisDevice : public std::enable_shared_from_this<AravisDevice>
{
public:
    /// Takes over the reference to `device`. Throws OpenError.
    static std::shared_ptr<AravisDevice> create(ArvDevice *device, const std::string &id);
    ~AravisDevice();

    /// Stops polling and acquisition and lets the device go. Idempotent.
    void close();

    std::recursive_mutex &mutex() { return m_Mutex; }
    /// With mutex() held: the device, null once closed.
    ArvDevice *device() const { return m_pDevice; }

    const std::string &id() const { return m_Id; }
    const std::string &modelName() const { return m_ModelName; }
    const std::vector<TKN::OrvAPI::FeaturePtr> &features() const { return m_Features; }
    const TKN::OrvAPI::FeatureGroup &groups() const { return m_Groups; }
    std::string description(const std::string &feature) const;

    /// Tells the observers of `feature` and of every feature it selects or
    /// invalidates. Called with mutex() held, right after the write.
    void notifyWritten(int feature);

    /// An observer was registered on `feature`: the poller compares with
    /// its value from now on. Called with mutex() held.
    void follow(int feature);

    TKN::OrvAPI::OrvErrorType startAcquisition();
    TKN::OrvAPI::OrvErrorType stopAcquisition();
    bool isAcquiring();
    unsigned long long frameCount() const { return m_FrameCount.load(); }

    // Signals: frames from the stream, acquisition on and off, and line
    // levels polled while a client reads the events (aravisdevice_signals.cpp).
    TKN::OrvAPI::SignalInfo signalInfo();
    unsigned long long signalEvents(unsigned long long afterSequence, std::vector<TKN::OrvAPI::SignalEvent> &events,
                                    std::size_t maxEvents);
    /// Microseconds since the device was opened, on this computer's clock.
    long long signalTime() const;
    bool latestFrame(TKN::OrvAPI::FrameImage &image);

    /// How often the poller looks at observed features.
    static constexpr int PollIntervalMs = 250;

private:
    struct Snapshot
    {
        bool valid = false;
        std::string value;
        bool writable = false;
        TKN::OrvAPI::OrvErrorType error = TKN::OrvAPI::OrvErrSuccess;
        bool operator!=(const Snapshot &other) const
        {
            return value != other.value || writable != other.writable || error != other.error;
        }
    };

    AravisDevice(ArvDevice *device, const std::string &id);
    void buildFeatures();
    void buildGroups(ArvGcNode *category, TKN::OrvAPI::FeatureGroup &group, int depth);
    void buildDependencies();
    int addFeature(ArvGcNode *node);
    void post(const std::vector<int> &features);
    /// With mutex() held.
    Snapshot snapshot(int feature) const;

    void pollLoop();
    void stopPolling();
    /// With mutex() held.
    TKN::OrvAPI::OrvErrorType stopStream();
    static void onStreamEvent(void *user, ArvStreamCallbackType type, ArvBuffer *buffer);
    /// On the stream thread.
    void recordFrame(ArvBuffer *buffer, unsigned long long number);
    void recordAcquisition(bool active);
    /// With mutex() held: the lines and how their levels are read, found once.
    void findSignalLines();
    /// With mutex() held, on the poller's thread.
    void pollLineLevels();

    std::recursive_mutex m_Mutex;
    ArvDevice *m_pDevice;
    ArvGc *m_pGc;
    const std::string m_Id;
    std::string m_ModelName;

    std::vector<TKN::OrvAPI::FeaturePtr> m_Features;
    std::vector<AravisFeature *> m_AravisFeatures;
    std::unordered_map<std::string, int> m_IndexByName;
    std::unordered_map<std::string, std::string> m_Descriptions;
    TKN::OrvAPI::FeatureGroup m_Groups;
    /// Per feature: the features to tell after it was written, itself first.
    std::vector<std::vector<int>> m_Affected;
    std::vector<Snapshot> m_Snapshots;

    std::mutex m_PollMutex;
    std::condition_variable m_PollWake;
    bool m_StopPolling = false;
    std::thread m_Poller;

    ArvCamera *m_pCamera = nullptr;
    std::atomic<ArvStream *> m_pStream{nullptr};
    bool m_Acquiring = false;
    std::atomic<unsigned long long> m_FrameCount{0};

    const std::chrono::steady_clock::time_point m_SignalOrigin = std::chrono::steady_clock::now();
    OrvSim::SignalLog m_Signals;
    /// When a client last read the events; levels are polled only for a reader.
    std::atomic<long long> m_LastSignalRead{-1};
    bool m_SignalLinesFound = false;
    std::vector<std::string> m_SignalLines;
    std::string m_LevelSource;
    std::vector<int> m_LineLevels; // -1: not read yet
    std::mutex m_FrameMutex;
    TKN::OrvAPI::FrameImage m_LatestFrame;
    long long m_LastFrameCopy = -1;
};

} // namespace OrvArv

#endif // ORVARV_ARAVISDEVICE_H
