// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "timelinemodel.h"

#include <algorithm>

using TKN::OrvAPI::SignalEvent;

const char TimelineModel::ExposureRow[] = "#exposure";
const char TimelineModel::AcquisitionRow[] = "#acquisition";

TimelineModel::TimelineModel(std::size_t capacity)
    : m_Capacity(std::max<std::size_t>(capacity, 1))
{
}

void TimelineModel::clear()
{
    // Levels carry on: a cleared view still knows what each row stands at.
    const long long now = m_Count ? at(m_Count - 1).time + 1 : 0;
    std::map<std::string, bool> levels = m_LevelBefore;
    for (std::size_t i = 0; i < m_Count; ++i) {
        const std::string row = levelRow(at(i));
        if (!row.empty())
            levels[row] = levelAt(row, now);
    }
    m_LevelBefore = levels;
    m_Ring.clear();
    m_Head = 0;
    m_Count = 0;
    m_Gaps.clear();
}

std::size_t TimelineModel::poll(TKN::OrvAPI::Camera &camera)
{
    std::vector<SignalEvent> events;
    const unsigned long long lost = camera.GetSignalEvents(m_LastSequence, events, 20000);
    append(events, lost);
    return events.size();
}

std::string TimelineModel::levelRow(const SignalEvent &event)
{
    switch (event.kind) {
    case SignalEvent::LineLevel: return event.source;
    case SignalEvent::ExposureStart:
    case SignalEvent::ExposureEnd: return ExposureRow;
    case SignalEvent::AcquisitionActive: return AcquisitionRow;
    default: return std::string();
    }
}

void TimelineModel::append(const std::vector<SignalEvent> &events, unsigned long long lostBefore)
{
    bool gap = lostBefore > 0;
    m_Lost += lostBefore;
    for (const SignalEvent &event : events) {
        if (event.sequence <= m_LastSequence && m_LastSequence != 0)
            continue;
        // Numbers that jump are events the camera lost on the way too.
        if (m_LastSequence != 0 && event.sequence > m_LastSequence + 1 && lostBefore == 0) {
            m_Lost += event.sequence - m_LastSequence - 1;
            gap = true;
        }
        lostBefore = 0;
        m_LastSequence = event.sequence;
        if (m_Ring.size() < m_Capacity) {
            m_Ring.push_back(event);
        } else {
            // The oldest leaves; what it set is remembered for the levels before the first held.
            const SignalEvent &leaving = m_Ring[m_Head];
            const std::string row = levelRow(leaving);
            if (!row.empty())
                m_LevelBefore[row] = leaving.kind == SignalEvent::ExposureStart
                                     || (leaving.kind != SignalEvent::ExposureEnd && leaving.level);
            if (!m_Gaps.empty() && m_Gaps.front() <= leaving.time)
                m_Gaps.erase(m_Gaps.begin());
            m_Ring[m_Head] = event;
            m_Head = (m_Head + 1) % m_Ring.size();
            --m_Count;
        }
        ++m_Count;
        if (gap) {
            m_Gaps.push_back(event.time);
            gap = false;
        }
    }
}

std::size_t TimelineModel::lowerBound(long long time) const
{
    std::size_t low = 0, high = m_Count;
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (at(middle).time < time)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

bool TimelineModel::levelAt(const std::string &row, long long time) const
{
    for (std::size_t i = lowerBound(time + 1); i-- > 0;) {
        const SignalEvent &event = at(i);
        if (levelRow(event) != row)
            continue;
        if (event.kind == SignalEvent::ExposureStart || event.kind == SignalEvent::ExposureEnd)
            return event.kind == SignalEvent::ExposureStart;
        return event.level;
    }
    const auto before = m_LevelBefore.find(row);
    return before != m_LevelBefore.end() && before->second;
}
