// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The quick modes proved by what the camera then does: each variant's
// camera runs its timing model on a stepped clock while a pulse train drives
// the input the mode chose, and the frames, exposures, missed triggers and
// output levels are read back from its signal events.
#include "triggeriotest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QtTest>

using TKN::OrvAPI::SignalEvent;

namespace {

const long long Ms = 1000;

QList<long long> timesOf(const std::vector<SignalEvent> &events, SignalEvent::Kind kind)
{
    QList<long long> times;
    for (const SignalEvent &event : events) {
        if (event.kind == kind)
            times << event.time;
    }
    return times;
}

QList<long long> edgesOf(const std::vector<SignalEvent> &events, const QString &line, bool rising)
{
    QList<long long> times;
    for (const SignalEvent &event : events) {
        if (event.kind == SignalEvent::LineLevel && event.source == line.toStdString() && event.level == rising)
            times << event.time;
    }
    return times;
}

} // namespace

class tst_QuickModeTiming : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m.reset(); }

    void edgeTakesOneFramePerFallingEdge_data() { variants(); }
    void edgeTakesOneFramePerFallingEdge();
    void levelExposesWhileTheLineIsLow_data() { variants(); }
    void levelExposesWhileTheLineIsLow();
    void bulkTakesTenFramesPerEdge_data() { variants(); }
    void bulkTakesTenFramesPerEdge();
    void triggerDuringExposureIsMissed_data() { variants(); }
    void triggerDuringExposureIsMissed();
    void outputsFollowExposures_data();
    void outputsFollowExposures();

private:
    void variants();
    /// Opens the page on the camera, clicks the mode's button and starts
    /// acquisition, the line held at its idle level first.
    void applyAndAcquire(const QString &file, const QString &mode, const QString &line, bool idleHigh = false);
    OrvSim::Timing &timing() { return m.camera->timing(); }

    PageUnderTest m;
};

// One camera per variant, and the input line its modes trigger on: the
// exposure-auto variant's sequences name Line1, the others the first input.
void tst_QuickModeTiming::variants()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("line");
    QTest::newRow("exposure-mode variant") << "exposure-mode.json"
                                           << "Line0";
    QTest::newRow("exposure-auto variant") << "exposure-auto.json"
                                           << "Line1";
    QTest::newRow("line-routing variant") << "line-routing.json"
                                          << "Line0";
}

void tst_QuickModeTiming::applyAndAcquire(const QString &file, const QString &mode, const QString &line, bool idleHigh)
{
    m.prepare(file);
    timing().useSteppedClock();
    m.open(m.camera);
    QPushButton *button = mode == "Edge"    ? m.page->m_pButtonEdge
                          : mode == "Level" ? m.page->m_pButtonLevel
                                            : m.page->m_pButtonBulk;
    QVERIFY(button->isEnabled());
    button->click();
    QCOMPARE(timing().setLine(line.toStdString(), idleHigh), TKN::OrvAPI::OrvErrSuccess);
    QCOMPARE(m.camera->feature("AcquisitionStart")->RunCommand(), TKN::OrvAPI::OrvErrSuccess);
}

void tst_QuickModeTiming::edgeTakesOneFramePerFallingEdge()
{
    QFETCH(QString, file);
    QFETCH(QString, line);
    applyAndAcquire(file, "Edge", line);
    timing().advance(20 * Ms);
    QCOMPARE(timing().framesDelivered(), 0ULL);

    QCOMPARE(timing().pulseTrain(line.toStdString(), 60 * Ms, 15 * Ms, 8), TKN::OrvAPI::OrvErrSuccess);
    timing().advance(600 * Ms);
    const auto events = timing().events();
    QCOMPARE(edgesOf(events, line, false).size(), 8);
    QCOMPARE(timesOf(events, SignalEvent::ExposureStart), edgesOf(events, line, false));
    QCOMPARE(timing().framesDelivered(), 8ULL);
    QCOMPARE(timing().missedTriggers(), 0ULL);
}

void tst_QuickModeTiming::levelExposesWhileTheLineIsLow()
{
    QFETCH(QString, file);
    QFETCH(QString, line);
    applyAndAcquire(file, "Level", line, true);
    // Low pulses of four widths, each well after the last frame was read out.
    const QList<long long> widths{2 * Ms, 9 * Ms, 31 * Ms, 77 * Ms};
    for (long long width : widths) {
        timing().advance(50 * Ms);
        QCOMPARE(timing().pulse(line.toStdString(), width), TKN::OrvAPI::OrvErrSuccess);
        // Stepped the way a viewer samples, 1 ms at a time.
        for (int step = 0; step < 150; ++step)
            timing().advance(1 * Ms);
    }
    const auto events = timing().events();
    const QList<long long> starts = timesOf(events, SignalEvent::ExposureStart);
    const QList<long long> ends = timesOf(events, SignalEvent::ExposureEnd);
    QCOMPARE(starts.size(), widths.size());
    QCOMPARE(ends.size(), widths.size());
    const QList<long long> falls = edgesOf(events, line, false), rises = edgesOf(events, line, true).mid(1);
    for (int i = 0; i < widths.size(); ++i) {
        QCOMPARE(rises[i] - falls[i], widths[i]);
        QVERIFY2(qAbs(starts[i] - falls[i]) <= 1 * Ms && qAbs((ends[i] - starts[i]) - widths[i]) <= 1 * Ms,
                 qPrintable(QString("exposure %1: %2..%3 us, line low %4..%5 us")
                                .arg(i)
                                .arg(starts[i])
                                .arg(ends[i])
                                .arg(falls[i])
                                .arg(rises[i])));
    }
    QCOMPARE(timing().framesDelivered(), 4ULL);
}

void tst_QuickModeTiming::bulkTakesTenFramesPerEdge()
{
    QFETCH(QString, file);
    QFETCH(QString, line);
    applyAndAcquire(file, "Bulk", line);
    // Ten frames take about a third of a second at the cameras' 30 frames a second.
    QCOMPARE(timing().pulseTrain(line.toStdString(), 700 * Ms, 20 * Ms, 3), TKN::OrvAPI::OrvErrSuccess);
    timing().advance(2500 * Ms);
    const auto events = timing().events();
    QCOMPARE(timing().framesDelivered(), 30ULL);
    QCOMPARE(timing().missedTriggers(), 0ULL);

    // Each burst starts on an edge of the line and holds ten exposures.
    const QList<long long> starts = timesOf(events, SignalEvent::ExposureStart);
    const QList<long long> edges = timesOf(events, SignalEvent::LineLevel);
    for (int burst = 0; burst < 3; ++burst) {
        const long long first = starts[burst * 10];
        QVERIFY2(edges.contains(first), qPrintable(QString("burst %1 starts at %2 us").arg(burst).arg(first)));
        QVERIFY(starts[burst * 10 + 9] - first < 700 * Ms);
        if (burst > 0)
            QVERIFY(first - starts[burst * 10 - 1] > 300 * Ms);
    }
}

void tst_QuickModeTiming::triggerDuringExposureIsMissed()
{
    QFETCH(QString, file);
    QFETCH(QString, line);
    applyAndAcquire(file, "Edge", line);
    // Four falling edges 1 ms apart: the first starts an exposure of at
    // least 5 ms, the other three come while it lasts.
    QCOMPARE(timing().pulseTrain(line.toStdString(), 1 * Ms, 500, 4), TKN::OrvAPI::OrvErrSuccess);
    timing().advance(100 * Ms);
    QCOMPARE(timing().framesDelivered(), 1ULL);
    QCOMPARE(timing().missedTriggers(), 3ULL);
    QStringList why;
    for (const SignalEvent &event : timing().events()) {
        if (event.kind == SignalEvent::TriggerMissed)
            why << QString::fromStdString(event.detail);
    }
    QCOMPARE(why, (QStringList{"exposing", "exposing", "exposing"}));
}

void tst_QuickModeTiming::outputsFollowExposures_data()
{
    // clang-format off
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("exposureSource");
    QTest::addColumn<QString>("levels"); // how a row's level is read: LineStatus or a mask

    QTest::newRow("exposure-mode camera") << "exposure-mode.json" << "Line0" << "ExposureActive" << "LineStatus";
    QTest::newRow("exposure-auto camera") << "exposure-auto.json" << "Line1" << "ExposureActive" << "LineStatus";
    QTest::newRow("line-routing camera") << "line-routing.json" << "Line0" << "ExposureActive" << "LineStatus";
    // Edge finds no input line here and leaves the source free-running: frames come all the same.
    QTest::newRow("older naming, level mask") << "syncout.json" << "Line1" << "Exposing" << "SyncOutLevels";
    // clang-format on
}

// Two output rows set through the page to the exposure signal, the second
// inverted: the first follows the exposures, the second is its complement.
void tst_QuickModeTiming::outputsFollowExposures()
{
    QFETCH(QString, file);
    QFETCH(QString, line);
    QFETCH(QString, exposureSource);
    QFETCH(QString, levels);

    m.prepare(file);
    timing().useSteppedClock();
    m.open(m.camera);
    QVERIFY(m.page->m_OutputLines.size() >= 2);
    const QStringList names =
        levels == "LineStatus" ? QStringList{"Line2", "Line3"} : QStringList{"SyncOut1", "SyncOut2"};
    for (int row = 0; row < 2; ++row) {
        m.page->m_OutputLines[row]->ComboSource->setCurrentText(exposureSource);
        m.page->m_OutputLines[row]->CBInvert->setChecked(row == 1);
    }
    QCOMPARE(m.value(levels == "LineStatus" ? "LineSource" : "SyncOutSource", names[1]), exposureSource);
    m.page->m_pButtonEdge->click();
    QCOMPARE(m.camera->feature("AcquisitionStart")->RunCommand(), TKN::OrvAPI::OrvErrSuccess);
    timing().pulseTrain(line.toStdString(), 40 * Ms, 10 * Ms, 0);

    const auto level = [&](int row) {
        if (levels == "LineStatus")
            return m.value("LineStatus", names[row]) == "true";
        return ((m.value(levels).toLongLong() >> row) & 1) != 0;
    };
    int exposures = 0;
    for (long long t = 0; t < 300 * Ms; t += 250) {
        timing().advance(250);
        bool exposing = false;
        exposures = 0;
        for (const SignalEvent &event : timing().events()) {
            if (event.kind == SignalEvent::ExposureStart || event.kind == SignalEvent::ExposureEnd)
                exposing = event.kind == SignalEvent::ExposureStart;
            exposures += event.kind == SignalEvent::ExposureStart;
        }
        QVERIFY2(level(0) == exposing && level(1) == !exposing, qPrintable(QString("at %1 us").arg(timing().now())));
    }
    QVERIFY(exposures >= 5);
}

QTEST_MAIN(tst_QuickModeTiming)
#include "tst_quickmodetiming.moc"
