// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// TimingModel: the clock, the camera's settings as the model reads them,
// acquisition, triggers and exposures.
#include "timingmodel.h"

#include "OrvikFeatureNames.h"
#include "valuetext.h"

#include <algorithm>
#include <cmath>

using namespace TKN::OrvAPI;

namespace OrvSim {

namespace {

enum Role { Ignored, Setting, Status, Mask };

using FeatureEntries::Software;
// A source that means "no trigger" on older cameras.
const char Freerun[] = "Freerun";

// The features whose values the model works from; a change re-reads them.
const char *const SettingNames[] = {FeatureNames::AcquisitionMode,
                                    FeatureNames::AcquisitionFrameCount,
                                    FeatureNames::AcquisitionFrameRate,
                                    FeatureNames::ExposureTime,
                                    FeatureNames::ExposureTimeAbs,
                                    FeatureNames::ExposureMode,
                                    FeatureNames::ExposureAuto,
                                    FeatureNames::TriggerMode,
                                    FeatureNames::TriggerSource,
                                    FeatureNames::TriggerActivation,
                                    FeatureNames::LineMode,
                                    FeatureNames::LineSource,
                                    FeatureNames::LineInverter,
                                    FeatureNames::LineRouting,
                                    FeatureNames::UserOutputValue,
                                    FeatureNames::SyncOutSource,
                                    FeatureNames::SyncOutPolarity,
                                    FeatureNames::LineOutSource,
                                    FeatureNames::LineOutPolarity};

// The frame-level triggers, in the order that decides which one acts when
// more than one is on.
const char *const FrameTriggers[] = {"FrameStart", "ExposureStart", "ExposureActive"};

std::string normalActivation(const std::string &activation)
{
    // Cameras spell the level activations two ways.
    if (activation == "LowLevel")
        return "LevelLow";
    if (activation == "HighLevel")
        return "LevelHigh";
    return activation.empty() ? std::string("RisingEdge") : activation;
}

bool isLevelActivation(const std::string &activation)
{
    return activation == "LevelHigh" || activation == "LevelLow";
}

} // namespace

TimingModel::TimingModel(const std::shared_ptr<CameraModel> &model)
    : m_Model(model),
      m_Origin(std::chrono::steady_clock::now())
{
    m_Driver.reset(new ClockDriver([this]() {
        std::lock_guard<std::recursive_mutex> lock(m_Mutex);
        if (m_Shutdown || m_Stepped)
            return ClockDriver::TimePoint::max();
        catchUp();
        return m_Queue.empty() ? ClockDriver::TimePoint::max()
                               : m_Origin + std::chrono::microseconds(m_Queue.top().time);
    }));

    const CameraModel &description = *model;
    if (description.indexOf(FeatureNames::SyncOutLevels) >= 0)
        m_LevelMask = FeatureNames::SyncOutLevels;
    else if (description.indexOf(FeatureNames::LineOutLevels) >= 0)
        m_LevelMask = FeatureNames::LineOutLevels;
    m_Roles.assign(description.m_Definitions.size(), Ignored);
    for (const char *name : SettingNames) {
        const int f = description.indexOf(name);
        if (f >= 0)
            m_Roles[f] = Setting;
    }
    const int status = description.indexOf(FeatureNames::LineStatus);
    if (status >= 0)
        m_Roles[status] = Status;
    if (!m_LevelMask.empty())
        m_Roles[description.indexOf(m_LevelMask)] = Mask;

    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    loadLines();
    readSettings();
    m_Acquiring = description.isAcquiring();
    updateOutputs(true);
}

TimingModel::~TimingModel()
{
    shutdown();
}

void TimingModel::shutdown()
{
    {
        std::lock_guard<std::recursive_mutex> lock(m_Mutex);
        m_Shutdown = true;
    }
    // Without the lock: the driver's thread may be waiting for it.
    m_Driver->stop();
}

std::shared_ptr<CameraModel> TimingModel::model() const
{
    return m_Shutdown ? nullptr : m_Model.lock();
}

std::string TimingModel::value(const std::string &feature, const std::string &entry) const
{
    const std::shared_ptr<CameraModel> camera = model();
    return camera ? camera->valueOf(feature, entry) : std::string();
}

bool TimingModel::has(const std::string &feature) const
{
    const std::shared_ptr<CameraModel> camera = model();
    return camera && camera->indexOf(feature) >= 0;
}

std::vector<std::string> TimingModel::entriesOf(const std::string &feature) const
{
    const std::shared_ptr<CameraModel> camera = model();
    const int f = camera ? camera->indexOf(feature) : -1;
    return f < 0 ? std::vector<std::string>() : camera->m_Definitions[f].entries;
}

// Clock

void TimingModel::useSteppedClock()
{
    {
        std::lock_guard<std::recursive_mutex> lock(m_Mutex);
        if (m_Stepped)
            return;
        // Nothing has happened yet: start at 0, so that runs compare exactly.
        if (m_Log.lastSequence() != 0 || !m_Queue.empty())
            catchUp();
        m_Stepped = true;
    }
    m_Driver->stop();
}

bool TimingModel::steppedClock() const
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    return m_Stepped;
}

OrvErrorType TimingModel::advance(long long microseconds)
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    if (!m_Stepped)
        return OrvErrInvalidCall;
    if (microseconds < 0)
        return OrvErrBadParameter;
    runUntil(m_Now + microseconds);
    return OrvErrSuccess;
}

long long TimingModel::now() const
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    if (m_Stepped || m_Shutdown)
        return m_Now;
    const auto wall =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - m_Origin);
    return std::max(m_Now, static_cast<long long>(wall.count()));
}

void TimingModel::catchUp()
{
    if (!m_Stepped && !m_Shutdown)
        runUntil(now());
}

void TimingModel::runUntil(long long time)
{
    while (!m_Queue.empty() && m_Queue.top().time <= time && !m_Shutdown) {
        const Scheduled item = m_Queue.top();
        m_Queue.pop();
        m_Now = std::max(m_Now, item.time);
        handle(item);
    }
    m_Now = std::max(m_Now, time);
}

void TimingModel::schedule(long long time, Due due, int line, unsigned long long token)
{
    m_Queue.push(Scheduled{time, ++m_Order, due, line, token});
    if (!m_Stepped && !m_Shutdown)
        m_Driver->wakeAt(m_Origin + std::chrono::microseconds(time));
}

void TimingModel::handle(const Scheduled &item)
{
    switch (item.due) {
    case Due::LineToggle:
        if (item.line < static_cast<int>(m_Lines.size()) && m_Lines[item.line].trainGeneration == item.token)
            nextToggle(item.line);
        break;
    case Due::ExposureEnd:
        if (item.token == m_FrameNumber && m_Sensor == Sensor::Exposing && !m_ExposingByWidth) {
            endExposure();
            settle();
        }
        break;
    case Due::ReadoutEnd:
        if (item.token == m_FrameNumber && m_Sensor == Sensor::ReadingOut) {
            m_Sensor = Sensor::Ready;
            ++m_Delivered;
            ++m_FramesDone;
            m_Latest = FrameRecord{m_FrameNumber, m_ExposureStart, m_Now};
            SignalEvent event;
            event.time = m_Now;
            event.kind = SignalEvent::FrameDelivered;
            event.frame = m_FrameNumber;
            event.timestamp = static_cast<unsigned long long>(m_ExposureStart) * 1000;
            m_Log.append(std::move(event));
            const bool counted =
                m_Settings.acquisitionMode == "SingleFrame" || m_Settings.acquisitionMode == "MultiFrame";
            const long long limit = m_Settings.acquisitionMode == "SingleFrame" ? 1 : m_Settings.frameCount;
            if (counted && m_FramesDone >= limit)
                setPhase(acquisitionTriggerOn() ? Phase::WaitingForStartTrigger : Phase::Finished);
            settle();
        }
        break;
    case Due::FreeRunFrame:
        if (item.token == m_FreeRunToken) {
            m_FreeRunAt = -1;
            settle();
        }
        break;
    case Due::TriggerPulseEnd:
        if (item.token == m_TriggerPulseToken) {
            m_TriggerPulse = false;
            updateOutputs();
        }
        break;
    }
}

void TimingModel::emit(SignalEvent::Kind kind, const std::string &source, bool level, unsigned long long frame,
                       const std::string &detail)
{
    SignalEvent event;
    event.time = m_Now;
    event.kind = kind;
    event.source = source;
    event.level = level;
    event.frame = frame;
    event.detail = detail;
    m_Log.append(std::move(event));
}

// Settings

void TimingModel::readSettings()
{
    Settings settings;
    const std::string mode = value(FeatureNames::AcquisitionMode);
    if (!mode.empty())
        settings.acquisitionMode = mode;
    long long count = 1;
    if (parseInteger(value(FeatureNames::AcquisitionFrameCount), count) && count > 0)
        settings.frameCount = count;
    double exposure = 0;
    if (parseDouble(value(FeatureNames::ExposureTime), exposure)
        || parseDouble(value(FeatureNames::ExposureTimeAbs), exposure))
        settings.exposureTime = std::max(1LL, std::llround(exposure));
    settings.exposureByWidth =
        value(FeatureNames::ExposureMode) == "TriggerWidth" || value(FeatureNames::ExposureAuto) == "other";
    const std::shared_ptr<CameraModel> camera = model();
    double rate = camera ? camera->m_FrameRate : 30.0;
    double featureRate = 0;
    if (parseDouble(value(FeatureNames::AcquisitionFrameRate), featureRate) && featureRate > 0)
        rate = featureRate;
    const long long readout = camera ? camera->m_ReadoutTime : 0;
    // The sensor takes no new frame before the last one is read out.
    settings.framePeriod = std::max(std::llround(1e6 / rate), settings.exposureTime + readout);
    for (const std::string &output : entriesOf(FeatureNames::UserOutputSelector))
        settings.userOutputs[output] = value(FeatureNames::UserOutputValue, output) == "true";
    m_Settings = settings;

    const bool lineModes = has(FeatureNames::LineMode);
    const std::string maskPrefix = m_LevelMask.substr(0, m_LevelMask.size() - 6); // "SyncOut", "LineOut"
    for (Line &line : m_Lines) {
        const std::string oldSource = line.source;
        const bool oldInverted = line.inverted;
        if (line.maskBit >= 0) {
            line.source = value(maskPrefix + "Source", line.name);
            line.inverted = value(maskPrefix + "Polarity", line.name) == "Invert";
        } else if (line.hasStatus || lineModes) {
            const bool output = lineModes && value(FeatureNames::LineMode, line.name) == "Output";
            // A line turned to an output is no longer driven by the wiring.
            if (output && !line.output)
                ++line.trainGeneration;
            line.output = output;
            line.source = output ? value(FeatureNames::LineSource, line.name) : std::string();
            line.inverted = value(FeatureNames::LineInverter, line.name) == "true";
            line.routedToTrigger = value(FeatureNames::LineRouting, line.name) == "Trigger";
        }
        if (line.source != oldSource || line.inverted != oldInverted)
            line.driven = -1;
    }

    std::vector<Trigger> triggers;
    std::vector<std::string> selectors = entriesOf(FeatureNames::TriggerSelector);
    if (selectors.empty() && has(FeatureNames::TriggerMode))
        selectors.push_back("FrameStart");
    for (const std::string &selector : selectors) {
        Trigger trigger;
        trigger.selector = selector;
        trigger.on = value(FeatureNames::TriggerMode, selector) == "On";
        trigger.source = value(FeatureNames::TriggerSource, selector);
        trigger.activation = normalActivation(value(FeatureNames::TriggerActivation, selector));
        trigger.signal = sourceSignal(trigger.source);
        // A trigger whose set-up is unchanged sees the edges of its source
        // that this change makes (routing, an inverter); a new set-up starts
        // from the level there is.
        for (const Trigger &old : m_Triggers) {
            if (old.selector == selector && old.on == trigger.on && old.source == trigger.source
                && old.activation == trigger.activation)
                trigger.signal = old.signal;
        }
        triggers.push_back(trigger);
    }
    m_Triggers = triggers;
}

// Triggers

const TimingModel::Trigger *TimingModel::trigger(const std::string &selector) const
{
    for (const Trigger &candidate : m_Triggers) {
        if (candidate.selector == selector)
            return &candidate;
    }
    return nullptr;
}

TimingModel::Trigger *TimingModel::trigger(const std::string &selector)
{
    return const_cast<Trigger *>(static_cast<const TimingModel *>(this)->trigger(selector));
}

const TimingModel::Trigger *TimingModel::frameTrigger() const
{
    for (const char *name : FrameTriggers) {
        const Trigger *candidate = trigger(name);
        if (candidate && candidate->on && candidate->source != Freerun)
            return candidate;
    }
    return nullptr;
}

TimingModel::Trigger *TimingModel::frameTrigger()
{
    return const_cast<Trigger *>(static_cast<const TimingModel *>(this)->frameTrigger());
}

bool TimingModel::acquisitionTriggerOn() const
{
    const Trigger *start = trigger(FeatureNames::AcquisitionStart);
    return start && start->on && start->source != Freerun;
}

bool TimingModel::exposureByWidth(const Trigger &trigger) const
{
    // A software trigger has no width to measure.
    if (trigger.source == Software)
        return false;
    return trigger.selector == "ExposureActive" || m_Settings.exposureByWidth;
}

void TimingModel::inputsChanged()
{
    for (Trigger &candidate : m_Triggers) {
        const bool signal = sourceSignal(candidate.source);
        if (signal == candidate.signal)
            continue;
        candidate.signal = signal;
        if (candidate.on && candidate.source != Freerun)
            triggerEdge(candidate, signal);
    }
    settle();
}

void TimingModel::triggerEdge(Trigger &edged, bool rising)
{
    const std::string &activation = edged.activation;
    const bool starts = activation == "RisingEdge" || activation == "LevelHigh"   ? rising
                        : activation == "FallingEdge" || activation == "LevelLow" ? !rising
                                                                                  : activation == "AnyEdge";
    if (edged.selector == FeatureNames::AcquisitionStart) {
        if (starts)
            acquisitionTriggered(edged);
        return;
    }
    if (&edged != frameTrigger())
        return;
    // An exposure measured by the trigger ends where its level ends.
    if (m_Sensor == Sensor::Exposing && m_ExposingByWidth && (activation == "AnyEdge" || !starts)) {
        endExposure();
        return;
    }
    if (starts)
        frameTriggered(edged);
}

void TimingModel::missed(const Trigger &trigger, const std::string &why)
{
    ++m_Missed;
    emit(SignalEvent::TriggerMissed, trigger.selector, false, 0, why);
}

void TimingModel::acquisitionTriggered(Trigger &trigger)
{
    if (!m_Acquiring)
        return;
    if (m_Phase != Phase::WaitingForStartTrigger) {
        missed(trigger, "acquisition is running");
        return;
    }
    emit(SignalEvent::TriggerAccepted, trigger.selector);
    m_FramesStarted = 0;
    m_FramesDone = 0;
    m_NextFrameAt = m_Now;
    setPhase(Phase::Active);
}

bool TimingModel::canTakeFrame() const
{
    if (!m_Acquiring || m_Phase != Phase::Active || m_Sensor != Sensor::Ready)
        return false;
    if (m_Settings.acquisitionMode == "SingleFrame")
        return m_FramesStarted < 1;
    if (m_Settings.acquisitionMode == "MultiFrame")
        return m_FramesStarted < m_Settings.frameCount;
    return true;
}

bool TimingModel::waitingForFrameTrigger() const
{
    return canTakeFrame() && frameTrigger();
}

void TimingModel::frameTriggered(Trigger &trigger)
{
    // An idle camera is not armed: the edge is only a level on its line.
    if (!m_Acquiring)
        return;
    std::string why;
    if (m_Phase == Phase::WaitingForStartTrigger)
        why = "waiting for the acquisition start trigger";
    else if (m_Phase == Phase::Finished)
        why = "acquisition finished: frame count reached";
    else if (m_Sensor == Sensor::Exposing)
        why = "exposing";
    else if (m_Sensor == Sensor::ReadingOut)
        why = "reading out";
    else if (!canTakeFrame())
        why = "frame count reached";
    if (!why.empty()) {
        missed(trigger, why);
        return;
    }
    emit(SignalEvent::TriggerAccepted, trigger.selector);
    m_TriggerPulse = true;
    schedule(m_Now + 100, Due::TriggerPulseEnd, -1, ++m_TriggerPulseToken);
    startExposure(exposureByWidth(trigger));
}

void TimingModel::commandRan(int feature)
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    const std::shared_ptr<CameraModel> camera = model();
    if (!camera || m_Writing)
        return;
    const std::string &name = camera->m_Definitions[feature].name;
    catchUp();
    if (name == FeatureNames::AcquisitionStart || name == FeatureNames::AcquisitionStop) {
        const bool acquiring = camera->isAcquiring();
        if (acquiring && !m_Acquiring)
            startAcquisition();
        else if (!acquiring && m_Acquiring)
            stopAcquisition();
        return;
    }
    if (name != FeatureNames::TriggerSoftware || !m_Acquiring)
        return;
    // TriggerSoftware fires the trigger the selector points at.
    const std::string selected =
        has(FeatureNames::TriggerSelector) ? value(FeatureNames::TriggerSelector) : std::string("FrameStart");
    Trigger *fired = trigger(selected);
    if (!fired)
        return;
    if (!fired->on)
        missed(*fired, "TriggerMode is Off");
    else if (fired->source != Software)
        missed(*fired, "TriggerSource is " + fired->source + ", not Software");
    else if (fired->selector == FeatureNames::AcquisitionStart)
        acquisitionTriggered(*fired);
    else if (fired != frameTrigger())
        missed(*fired, "another trigger starts the frames");
    else
        frameTriggered(*fired);
    settle();
}

void TimingModel::valueChanged(int feature)
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    if (!model() || m_Writing || feature < 0 || feature >= static_cast<int>(m_Roles.size()))
        return;
    const int role = m_Roles[feature];
    if (role == Ignored)
        return;
    catchUp();
    if (role == Setting) {
        readSettings();
        inputsChanged();
    } else {
        readShownLevels();
        settle();
    }
}

// Acquisition and exposure

void TimingModel::setPhase(Phase phase)
{
    const bool wasActive = m_Phase == Phase::Active;
    m_Phase = phase;
    if (wasActive != (phase == Phase::Active))
        emit(SignalEvent::AcquisitionActive, std::string(), phase == Phase::Active);
}

void TimingModel::startAcquisition()
{
    m_Acquiring = true;
    m_FramesStarted = 0;
    m_FramesDone = 0;
    m_Sensor = Sensor::Ready;
    m_NextFrameAt = m_Now;
    m_FreeRunAt = -1;
    ++m_FreeRunToken;
    setPhase(acquisitionTriggerOn() ? Phase::WaitingForStartTrigger : Phase::Active);
    settle();
}

void TimingModel::stopAcquisition()
{
    if (m_Sensor == Sensor::Exposing)
        endExposure("aborted");
    // A frame in readout is dropped with the stream.
    m_Sensor = Sensor::Ready;
    m_Acquiring = false;
    setPhase(Phase::Idle);
    settle();
}

void TimingModel::startExposure(bool byWidth)
{
    ++m_FrameNumber;
    ++m_FramesStarted;
    m_Sensor = Sensor::Exposing;
    m_ExposingByWidth = byWidth;
    m_ExposureStart = m_Now;
    m_NextFrameAt = m_Now + m_Settings.framePeriod;
    emit(SignalEvent::ExposureStart, std::string(), true, m_FrameNumber);
    if (!byWidth)
        schedule(m_Now + m_Settings.exposureTime, Due::ExposureEnd, -1, m_FrameNumber);
}

void TimingModel::endExposure(const std::string &detail)
{
    emit(SignalEvent::ExposureEnd, std::string(), false, m_FrameNumber, detail);
    if (!detail.empty()) {
        m_Sensor = Sensor::Ready;
        return;
    }
    m_Sensor = Sensor::ReadingOut;
    const std::shared_ptr<CameraModel> camera = model();
    schedule(m_Now + (camera ? camera->m_ReadoutTime : 0), Due::ReadoutEnd, -1, m_FrameNumber);
}

// Brings everything that follows from the state now up to date: a start
// trigger held at its level, the next free-running frame, a frame trigger
// held at its level, and the outputs.
void TimingModel::settle()
{
    if (m_Acquiring && m_Phase == Phase::WaitingForStartTrigger) {
        Trigger *start = trigger(FeatureNames::AcquisitionStart);
        if (start && isLevelActivation(start->activation) && start->source != Software
            && start->signal == (start->activation == "LevelHigh"))
            acquisitionTriggered(*start);
    }
    if (canTakeFrame()) {
        Trigger *frame = frameTrigger();
        if (!frame) {
            if (m_NextFrameAt <= m_Now) {
                startExposure(false);
            } else if (m_FreeRunAt != m_NextFrameAt) {
                m_FreeRunAt = m_NextFrameAt;
                schedule(m_NextFrameAt, Due::FreeRunFrame, -1, ++m_FreeRunToken);
            }
        } else if (isLevelActivation(frame->activation) && frame->source != Software
                   && frame->signal == (frame->activation == "LevelHigh")) {
            emit(SignalEvent::TriggerAccepted, frame->selector);
            startExposure(exposureByWidth(*frame));
        }
    }
    updateOutputs();
}

// What is reported

unsigned long long TimingModel::framesDelivered() const
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    return m_Delivered;
}

unsigned long long TimingModel::missedTriggers() const
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    return m_Missed;
}

TimingModel::FrameRecord TimingModel::latestFrame() const
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    return m_Latest;
}

SignalInfo TimingModel::signalInfo() const
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    SignalInfo info;
    info.available = true;
    info.exposures = true;
    for (const Line &line : m_Lines)
        (line.output ? info.outputLines : info.inputLines).push_back(line.name);
    for (const Trigger &candidate : m_Triggers)
        info.triggers.push_back(candidate.selector);
    return info;
}

} // namespace OrvSim
