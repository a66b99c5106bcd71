// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The Signals dock's record: a long run read now and then stays in order,
// without gaps and within its ring, and levels stay right as old events leave.
#include <timelinemodel.h>

#include "testcamera.h"

#include <QtTest>

using TKN::OrvAPI::SignalEvent;

namespace {

SignalEvent lineEvent(unsigned long long sequence, long long time, const char *line, bool level)
{
    SignalEvent e;
    e.sequence = sequence;
    e.time = time;
    e.kind = SignalEvent::LineLevel;
    e.source = line;
    e.level = level;
    return e;
}

/// Walks every event there ever was, for the level of a row at rising times.
class ReferenceLevel
{
public:
    ReferenceLevel(const std::vector<SignalEvent> &all, const std::string &row)
        : m_All(all),
          m_Row(row)
    {
    }
    bool at(long long time)
    {
        for (; m_Next < m_All.size() && m_All[m_Next].time <= time; ++m_Next) {
            const SignalEvent &e = m_All[m_Next];
            if (TimelineModel::levelRow(e) == m_Row)
                m_Level = e.kind == SignalEvent::ExposureStart || (e.kind != SignalEvent::ExposureEnd && e.level);
        }
        return m_Level;
    }

private:
    const std::vector<SignalEvent> &m_All;
    const std::string m_Row;
    std::size_t m_Next = 0;
    bool m_Level = false;
};

} // namespace

class tst_TimelineModel : public QObject
{
    Q_OBJECT

private slots:
    void longRunInOrderWithoutGapsInItsRing();
    void lostEventsMakeGaps_data();
    void lostEventsMakeGaps();
    void clearKeepsTheLevels();
};

void tst_TimelineModel::longRunInOrderWithoutGapsInItsRing()
{
    auto simulated = TestCamera::load("exposure-mode.json");
    OrvSim::Timing &timing = simulated->timing();
    timing.useSteppedClock();
    for (const char *step : {"TriggerSelector=FrameStart", "TriggerSource=Line0", "TriggerActivation=FallingEdge",
                             "TriggerMode=On", "LineSelector=Line2", "LineSource=ExposureActive"}) {
        const QString text(step);
        QCOMPARE(simulated->feature(text.section('=', 0, 0).toStdString())
                     ->SetValue(text.section('=', 1).toUtf8().constData()),
                 TKN::OrvAPI::OrvErrSuccess);
    }
    QCOMPARE(simulated->feature("AcquisitionStart")->RunCommand(), TKN::OrvAPI::OrvErrSuccess);
    // Faster than the camera can take: edges, frames and missed triggers by the thousand.
    QCOMPARE(timing.pulseTrain("Line0", 7000, 2000, 0), TKN::OrvAPI::OrvErrSuccess);

    TimelineModel model(3000);
    std::vector<SignalEvent> all;
    for (int poll = 0; poll < 1200; ++poll) {
        timing.advance(50000);
        std::vector<SignalEvent> fresh;
        QCOMPARE(timing.readEvents(model.lastSequence(), fresh, 1000000), 0ULL);
        all.insert(all.end(), fresh.begin(), fresh.end());
        model.append(fresh);
        QVERIFY(model.size() <= model.capacity());
        if (poll % 100 != 99)
            continue;
        for (std::size_t i = 1; i < model.size(); ++i) {
            QCOMPARE(model.at(i).sequence, model.at(i - 1).sequence + 1);
            QVERIFY(model.at(i).time >= model.at(i - 1).time);
        }
    }
    QVERIFY2(all.size() > 5 * model.capacity(), qPrintable(QString::number(all.size())));
    QCOMPARE(model.size(), model.capacity());
    QCOMPARE(model.lastSequence(), all.back().sequence);
    QCOMPARE(model.lost(), 0ULL);
    QVERIFY(model.gaps().empty());

    // Levels before, at and after the oldest event held agree with the whole record.
    const long long oldest = model.at(0).time;
    for (const std::string &row : {std::string("Line0"), std::string("Line2"), std::string(TimelineModel::ExposureRow),
                                   std::string(TimelineModel::AcquisitionRow)}) {
        ReferenceLevel reference(all, row);
        for (long long t = oldest - 1; t < all.back().time; t += 1700)
            QVERIFY2(model.levelAt(row, t) == reference.at(t), qPrintable(QString("%1 at %2").arg(row.c_str()).arg(t)));
    }
    QCOMPARE(model.lowerBound(oldest), std::size_t(0));
    QCOMPARE(model.lowerBound(all.back().time + 1), model.size());
}

void tst_TimelineModel::lostEventsMakeGaps_data()
{
    // clang-format off
    QTest::addColumn<QList<int>>("sequences");
    QTest::addColumn<int>("lostBefore"); // before the second batch
    QTest::addColumn<int>("lost");
    QTest::addColumn<int>("held");

    QTest::newRow("in order") << QList<int> { 1, 2, 3, 4 } << 0 << 0 << 4;
    QTest::newRow("numbers jump") << QList<int> { 1, 2, 6, 7 } << 0 << 3 << 4;
    QTest::newRow("camera says it dropped some") << QList<int> { 1, 2, 9, 10 } << 6 << 6 << 4;
    QTest::newRow("repeats left out") << QList<int> { 1, 2, 2, 1, 3 } << 0 << 0 << 3;
    // clang-format on
}

void tst_TimelineModel::lostEventsMakeGaps()
{
    QFETCH(QList<int>, sequences);
    QFETCH(int, lostBefore);
    QFETCH(int, lost);
    QFETCH(int, held);

    TimelineModel model(100);
    std::vector<SignalEvent> first, second;
    for (int i = 0; i < sequences.size(); ++i)
        (i < 2 ? first : second).push_back(lineEvent(sequences[i], 100 * i, "Line0", i % 2));
    model.append(first);
    model.append(second, lostBefore);
    QCOMPARE(int(model.lost()), lost);
    QCOMPARE(int(model.size()), held);
    QCOMPARE(model.gaps().size(), std::size_t(lost > 0 ? 1 : 0));
    if (lost > 0)
        QCOMPARE(model.gaps().front(), 200LL);
}

void tst_TimelineModel::clearKeepsTheLevels()
{
    TimelineModel model(10);
    model.append({lineEvent(1, 10, "Line0", true), lineEvent(2, 20, "Line1", true), lineEvent(3, 30, "Line1", false)});
    model.clear();
    QCOMPARE(model.size(), std::size_t(0));
    QVERIFY(model.levelAt("Line0", 1000));
    QVERIFY(!model.levelAt("Line1", 1000));
    model.append({lineEvent(4, 40, "Line0", false)});
    QVERIFY(model.levelAt("Line0", 39));
    QVERIFY(!model.levelAt("Line0", 40));
}

QTEST_APPLESS_MAIN(tst_TimelineModel)
#include "tst_timelinemodel.moc"
