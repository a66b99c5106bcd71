// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// TimingModel: the lines: levels driven by the simulated wiring (held
// levels, pulses, pulse trains), what the triggers see of them, and the
// outputs driven by their sources.
#include "timingmodel.h"

#include "OrvikFeatureNames.h"

#include "valuetext.h"

#include <algorithm>
#include <cctype>

using namespace TKN::OrvAPI;

namespace OrvSim {

namespace {

bool isLineName(const std::string &name)
{
    return name.size() > 4 && name.compare(0, 4, "Line") == 0 && std::all_of(name.begin() + 4, name.end(), [](char c) {
               return std::isdigit(static_cast<unsigned char>(c));
           });
}

} // namespace

void TimingModel::loadLines()
{
    m_Lines.clear();
    const bool status = has(FeatureNames::LineStatus);
    for (const std::string &entry : entriesOf(FeatureNames::LineSelector)) {
        Line line;
        line.name = entry;
        line.hasStatus = status;
        line.level = status && value(FeatureNames::LineStatus, entry) == "true";
        m_Lines.push_back(line);
    }
    // Older cameras name their input lines only as trigger sources.
    for (const std::string &source : entriesOf(FeatureNames::TriggerSource)) {
        if (isLineName(source) && !findLine(source)) {
            Line line;
            line.name = source;
            m_Lines.push_back(line);
        }
    }
    if (!m_LevelMask.empty()) {
        long long mask = 0;
        parseInteger(value(m_LevelMask), mask);
        const std::string prefix = m_LevelMask.substr(0, m_LevelMask.size() - 6);
        const std::vector<std::string> outputs = entriesOf(prefix + "Selector");
        for (std::size_t bit = 0; bit < outputs.size() && bit < 63; ++bit) {
            Line line;
            line.name = outputs[bit];
            line.output = true;
            line.maskBit = static_cast<int>(bit);
            line.level = (mask >> bit) & 1;
            m_Lines.push_back(line);
        }
    }
}

const TimingModel::Line *TimingModel::findLine(const std::string &name) const
{
    for (const Line &line : m_Lines) {
        if (line.name == name)
            return &line;
    }
    return nullptr;
}

TimingModel::Line *TimingModel::findLine(const std::string &name)
{
    return const_cast<Line *>(static_cast<const TimingModel *>(this)->findLine(name));
}

bool TimingModel::lineSignal(const Line &line) const
{
    // The inverter of an input line inverts what the camera makes of it.
    return line.level != line.inverted;
}

bool TimingModel::sourceSignal(const std::string &source) const
{
    if (source == "InputLines") {
        for (const Line &line : m_Lines) {
            if (!line.output && line.routedToTrigger && lineSignal(line))
                return true;
        }
        return false;
    }
    const Line *line = findLine(source);
    return line && !line->output && lineSignal(*line);
}

void TimingModel::changeInputLevel(Line &line, bool level, bool write)
{
    line.level = level;
    emit(SignalEvent::LineLevel, line.name, level);
    if (write && line.hasStatus) {
        if (const std::shared_ptr<CameraModel> camera = model()) {
            m_Writing = true;
            camera->setFromCamera(FeatureNames::LineStatus, level ? "true" : "false", line.name);
            m_Writing = false;
        }
    }
    inputsChanged();
}

// Applies every toggle of the line's pulse train that is due and schedules
// the next one.
void TimingModel::nextToggle(int index)
{
    for (;;) {
        Line &line = m_Lines[index];
        const long long pulse = line.trainToggle / 2;
        if (line.trainPulses > 0 && pulse >= line.trainPulses)
            return;
        const long long at = line.trainStart + pulse * line.trainPeriod + (line.trainToggle % 2 ? line.trainWidth : 0);
        if (at > m_Now) {
            schedule(at, Due::LineToggle, index, line.trainGeneration);
            return;
        }
        const bool level = line.trainToggle % 2 == 0 ? !line.trainIdle : line.trainIdle;
        ++line.trainToggle;
        const unsigned long long generation = line.trainGeneration;
        if (level != line.level)
            changeInputLevel(line, level, true);
        // What the change set off may have turned the line into an output.
        if (m_Lines[index].trainGeneration != generation)
            return;
    }
}

void TimingModel::readShownLevels()
{
    long long mask = 0;
    if (!m_LevelMask.empty())
        parseInteger(value(m_LevelMask), mask);
    for (std::size_t i = 0; i < m_Lines.size(); ++i) {
        Line &line = m_Lines[i];
        bool level;
        if (line.hasStatus)
            level = value(FeatureNames::LineStatus, line.name) == "true";
        else if (line.maskBit >= 0)
            level = (mask >> line.maskBit) & 1;
        else
            continue;
        if (level == line.level)
            continue;
        if (line.output) {
            line.level = level;
            emit(SignalEvent::LineLevel, line.name, level);
        } else {
            // A level set from the camera side, as the Simulator dock did
            // before it drove the wiring: an edge like any other.
            ++line.trainGeneration;
            changeInputLevel(line, level, false);
        }
    }
}

bool TimingModel::outputSourceLevel(const std::string &source, bool &level) const
{
    if (source == "Off")
        level = false;
    else if (source == "ExposureActive" || source == "Exposing")
        level = m_Sensor == Sensor::Exposing;
    else if (source == "FrameActive" || source == "Imaging")
        level = m_Sensor != Sensor::Ready;
    else if (source == "FrameTriggerWait" || source == "FrameTriggerReady")
        level = waitingForFrameTrigger();
    else if (source == "AcquisitionActive")
        level = m_Acquiring && m_Phase == Phase::Active;
    else if (source == "AcquisitionTriggerWait")
        level = m_Acquiring && m_Phase == Phase::WaitingForStartTrigger;
    else if (source == "FrameTrigger")
        level = m_TriggerPulse;
    else if (m_Settings.userOutputs.count(source))
        level = m_Settings.userOutputs.at(source);
    else
        return false; // Direct, GPO: set by the client; unknown: left alone
    return true;
}

void TimingModel::updateOutputs(bool adopt)
{
    const std::shared_ptr<CameraModel> camera = model();
    if (!camera)
        return;
    long long bits = 0, changedBits = 0;
    for (Line &line : m_Lines) {
        bool level = false;
        if (!line.output || !outputSourceLevel(line.source, level))
            continue;
        level = level != line.inverted;
        if (line.driven == static_cast<int>(level))
            continue;
        line.driven = level;
        if (line.level == level || adopt)
            continue;
        line.level = level;
        emit(SignalEvent::LineLevel, line.name, level);
        m_Writing = true;
        if (line.hasStatus)
            camera->setFromCamera(FeatureNames::LineStatus, level ? "true" : "false", line.name);
        m_Writing = false;
        if (line.maskBit >= 0) {
            changedBits |= 1LL << line.maskBit;
            if (level)
                bits |= 1LL << line.maskBit;
        }
    }
    if (changedBits) {
        m_Writing = true;
        camera->setBitsFromCamera(m_LevelMask, bits, changedBits);
        m_Writing = false;
    }
}

// The wiring

std::vector<std::string> TimingModel::inputLines() const
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    std::vector<std::string> names;
    for (const Line &line : m_Lines) {
        if (!line.output)
            names.push_back(line.name);
    }
    return names;
}

bool TimingModel::lineLevel(const std::string &name) const
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    const Line *line = findLine(name);
    return line && line->level;
}

OrvErrorType TimingModel::setLine(const std::string &name, bool high)
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    if (!model())
        return OrvErrNotAvailable;
    catchUp();
    Line *line = findLine(name);
    if (!line)
        return OrvErrNotFound;
    if (line->output)
        return OrvErrInvalidAccess;
    ++line->trainGeneration;
    if (line->level != high)
        changeInputLevel(*line, high, true);
    return OrvErrSuccess;
}

OrvErrorType TimingModel::pulseTrain(const std::string &name, long long period, long long width, long long count)
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    if (!model())
        return OrvErrNotAvailable;
    if (width <= 0 || count < 0 || (count != 1 && period <= width))
        return OrvErrBadParameter;
    catchUp();
    const auto found = std::find_if(m_Lines.begin(), m_Lines.end(), [&](const Line &l) { return l.name == name; });
    if (found == m_Lines.end())
        return OrvErrNotFound;
    if (found->output)
        return OrvErrInvalidAccess;
    Line &line = *found;
    ++line.trainGeneration;
    line.trainStart = m_Now;
    line.trainPeriod = count == 1 ? width + 1 : period;
    line.trainWidth = width;
    line.trainPulses = count;
    line.trainToggle = 0;
    line.trainIdle = line.level;
    nextToggle(static_cast<int>(found - m_Lines.begin()));
    return OrvErrSuccess;
}

} // namespace OrvSim
