// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// TimingModel: what a simulated camera does over time while it acquires:
// triggers taken or missed, exposures, frames, and the levels of its lines.
#ifndef ORVSIM_TIMINGMODEL_H
#define ORVSIM_TIMINGMODEL_H

#include "cameramodel.h"
#include "clockdriver.h"
#include "signallog.h"

#include <map>
#include <memory>
#include <mutex>
#include <queue>
#include <string>
#include <vector>

namespace OrvSim {

/// A deterministic model on a clock of its own, in microseconds since the
/// camera was loaded. It reads the camera's settings without journaling, and
/// changes what the camera shows (LineStatus, the level masks) only as the
/// camera itself would, through CameraModel's camera-side change path, so
/// observers hear of it. The clock follows real time through a ClockDriver
/// until useSteppedClock(); from then on only advance() moves it.
class TimingModel : public ModelListener
{
public:
    /// The newest delivered frame, for rendering its image.
    struct FrameRecord
    {
        unsigned long long frame = 0;
        long long exposureStart = 0;
        long long delivered = 0;
    };

    explicit TimingModel(const std::shared_ptr<CameraModel> &model);
    ~TimingModel() override;

    void valueChanged(int feature) override;
    void commandRan(int feature) override;

    /// Stops the real-time thread; the model does nothing from then on.
    void shutdown();

    void useSteppedClock();
    bool steppedClock() const;
    /// Stepped clock only: OrvErrInvalidCall otherwise.
    TKN::OrvAPI::OrvErrorType advance(long long microseconds);
    long long now() const;

    std::vector<std::string> inputLines() const;
    bool lineLevel(const std::string &line) const;
    TKN::OrvAPI::OrvErrorType setLine(const std::string &line, bool high);
    TKN::OrvAPI::OrvErrorType pulseTrain(const std::string &line, long long period, long long width, long long count);

    unsigned long long framesDelivered() const;
    unsigned long long missedTriggers() const;
    TKN::OrvAPI::SignalInfo signalInfo() const;
    const SignalLog &events() const { return m_Log; }
    FrameRecord latestFrame() const;

private:
    enum class Phase { Idle, WaitingForStartTrigger, Active, Finished };
    enum class Sensor { Ready, Exposing, ReadingOut };

    struct Trigger
    {
        std::string selector;
        bool on = false;
        std::string source;
        std::string activation;
        /// The source's level as last seen, for edges.
        bool signal = false;
    };

    struct Line
    {
        std::string name;
        bool output = false;
        /// Has a LineStatus entry (the line-selector naming).
        bool hasStatus = false;
        /// Output-selector naming: bit of the level mask; -1 otherwise.
        int maskBit = -1;
        std::string source;
        bool inverted = false;
        bool routedToTrigger = false;
        /// The level the camera shows (LineStatus, mask bit), as last seen or set.
        bool level = false;
        /// Last level computed from the source; a change is written.
        int driven = -1;
        // Pulse train: pulse k starts at trainStart + k * period.
        unsigned long long trainGeneration = 0;
        long long trainStart = 0, trainPeriod = 0, trainWidth = 0, trainPulses = 0;
        long long trainToggle = 0;
        bool trainIdle = false;
    };

    struct Settings
    {
        std::string acquisitionMode = "Continuous";
        long long frameCount = 1;
        long long exposureTime = 10000;
        bool exposureByWidth = false;
        long long framePeriod = 33333;
        std::map<std::string, bool> userOutputs;
    };

    enum class Due { LineToggle, ExposureEnd, ReadoutEnd, FreeRunFrame, TriggerPulseEnd };
    struct Scheduled
    {
        long long time;
        unsigned long long order;
        Due due;
        int line;
        unsigned long long token;
        bool operator>(const Scheduled &other) const
        {
            return time != other.time ? time > other.time : order > other.order;
        }
    };

    // All below with m_Mutex held.
    std::shared_ptr<CameraModel> model() const;
    std::string value(const std::string &feature, const std::string &entry = std::string()) const;
    bool has(const std::string &feature) const;
    std::vector<std::string> entriesOf(const std::string &feature) const;
    void loadLines();
    void readSettings();
    void catchUp();
    void runUntil(long long time);
    void schedule(long long time, Due due, int line, unsigned long long token);
    void handle(const Scheduled &item);
    void emit(TKN::OrvAPI::SignalEvent::Kind kind, const std::string &source, bool level = false,
              unsigned long long frame = 0, const std::string &detail = std::string());

    Line *findLine(const std::string &name);
    const Line *findLine(const std::string &name) const;
    bool lineSignal(const Line &line) const;
    bool sourceSignal(const std::string &source) const;
    void inputsChanged();
    /// write: also show it in LineStatus (the change did not come from there).
    void changeInputLevel(Line &line, bool level, bool write);
    void nextToggle(int index);
    void readShownLevels();
    /// adopt: take the levels the camera shows as driven (its description's
    /// start values stand until a source changes).
    void updateOutputs(bool adopt = false);
    bool outputSourceLevel(const std::string &source, bool &level) const;

    Trigger *trigger(const std::string &selector);
    const Trigger *trigger(const std::string &selector) const;
    Trigger *frameTrigger();
    const Trigger *frameTrigger() const;
    bool acquisitionTriggerOn() const;
    bool exposureByWidth(const Trigger &trigger) const;
    void triggerEdge(Trigger &trigger, bool rising);
    void acquisitionTriggered(Trigger &trigger);
    void frameTriggered(Trigger &trigger);
    void missed(const Trigger &trigger, const std::string &why);
    bool canTakeFrame() const;
    bool waitingForFrameTrigger() const;
    void startExposure(bool byWidth);
    void endExposure(const std::string &detail = std::string());
    void startAcquisition();
    void stopAcquisition();
    void setPhase(Phase phase);
    void settle();

    /// Not kept alive: features outlive the camera, and the model with it.
    const std::weak_ptr<CameraModel> m_Model;
    mutable std::recursive_mutex m_Mutex;
    bool m_Shutdown = false;
    /// Set while the model writes to the camera: the listener calls it
    /// causes are its own.
    bool m_Writing = false;

    bool m_Stepped = false;
    long long m_Now = 0;
    std::chrono::steady_clock::time_point m_Origin;
    std::unique_ptr<ClockDriver> m_Driver;

    std::priority_queue<Scheduled, std::vector<Scheduled>, std::greater<Scheduled>> m_Queue;
    unsigned long long m_Order = 0;

    std::vector<Line> m_Lines;
    std::vector<Trigger> m_Triggers;
    Settings m_Settings;
    std::string m_LevelMask;
    /// What each feature means to the model, by feature index.
    std::vector<int> m_Roles;

    bool m_Acquiring = false;
    Phase m_Phase = Phase::Idle;
    Sensor m_Sensor = Sensor::Ready;
    long long m_FramesStarted = 0;
    long long m_FramesDone = 0;
    unsigned long long m_FrameNumber = 0;
    bool m_ExposingByWidth = false;
    long long m_ExposureStart = 0;
    long long m_NextFrameAt = 0;
    unsigned long long m_FreeRunToken = 0;
    long long m_FreeRunAt = -1;
    bool m_TriggerPulse = false;
    unsigned long long m_TriggerPulseToken = 0;

    unsigned long long m_Delivered = 0;
    unsigned long long m_Missed = 0;
    FrameRecord m_Latest;
    SignalLog m_Log;
};

} // namespace OrvSim

#endif // ORVSIM_TIMINGMODEL_H
