// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// TimelineModel: the signal events a camera reported, the latest of them in
// a ring of fixed size, and what a view needs to draw a stretch of time.
#ifndef TIMELINEMODEL_H
#define TIMELINEMODEL_H

#include <OrvikCamera.h>

#include <cstddef>
#include <map>
#include <string>
#include <vector>

class TimelineModel
{
public:
    /// Level rows that are not lines.
    static const char ExposureRow[];
    static const char AcquisitionRow[];

    explicit TimelineModel(std::size_t capacity = 100000);

    void clear();
    /// Reads what the camera has new; returns how many events were added.
    std::size_t poll(TKN::OrvAPI::Camera &camera);
    /// Adds events in the camera's order. `lostBefore` of them were dropped
    /// by the camera before these; an event numbered at or below the last
    /// one held is a repeat and is left out.
    void append(const std::vector<TKN::OrvAPI::SignalEvent> &events, unsigned long long lostBefore = 0);

    std::size_t size() const { return m_Count; }
    std::size_t capacity() const { return m_Capacity; }
    /// The i-th event held, 0 the oldest.
    const TKN::OrvAPI::SignalEvent &at(std::size_t i) const { return m_Ring[(m_Head + i) % m_Ring.size()]; }
    unsigned long long lastSequence() const { return m_LastSequence; }
    /// Events the camera dropped before they were read: gaps in the record.
    unsigned long long lost() const { return m_Lost; }
    /// The times of the first event after each gap still held.
    const std::vector<long long> &gaps() const { return m_Gaps; }

    /// The index of the first event held at or after `time` (size() when none).
    std::size_t lowerBound(long long time) const;
    /// The level row an event belongs to (a line, ExposureRow,
    /// AcquisitionRow); empty for events that are not levels.
    static std::string levelRow(const TKN::OrvAPI::SignalEvent &event);
    /// The level of a row at `time`, from the events held and what the
    /// events that left the ring had set.
    bool levelAt(const std::string &row, long long time) const;

private:
    /// Grows to m_Capacity, then wraps round.
    std::vector<TKN::OrvAPI::SignalEvent> m_Ring;
    std::size_t m_Capacity;
    std::size_t m_Head = 0;
    std::size_t m_Count = 0;
    unsigned long long m_LastSequence = 0;
    unsigned long long m_Lost = 0;
    std::vector<long long> m_Gaps;
    /// Per row: the level the oldest event that left the ring set.
    std::map<std::string, bool> m_LevelBefore;
};

#endif // TIMELINEMODEL_H
