// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The simulated cameras' timing on a stepped clock: acquisition modes,
// trigger activations, missed triggers, exposures measured by the trigger,
// outputs that follow their sources, and the same events on every run.
#include "orvapitest.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace OrvapiTest;
using TKN::OrvAPI::SignalEvent;

namespace {

const long long Ms = 1000;

/// A shipped camera, its "timing" replaced when given, on the stepped clock.
std::shared_ptr<OrvSim::Camera> load(const QString &file, const QJsonObject &timing = QJsonObject())
{
    QFile source(QString::fromStdString(TestCamera::path(file.toLatin1().constData())));
    if (!source.open(QIODevice::ReadOnly))
        return nullptr;
    QJsonObject description = QJsonDocument::fromJson(source.readAll()).object();
    if (!timing.isEmpty())
        description.insert("timing", timing);
    auto camera = OrvSim::Camera::fromJson(QJsonDocument(description).toJson().toStdString(), file.toStdString());
    camera->timing().useSteppedClock();
    return camera;
}

/// Client writes, space-separated "Feature=value" or "run:Command", in order.
bool configure(OrvSim::Camera &camera, const QString &steps)
{
    for (const QString &step : steps.split(' ', Qt::SkipEmptyParts)) {
        if (apply(camera, step) != OrvErrSuccess) {
            qWarning("refused: %s", qPrintable(step));
            return false;
        }
    }
    return true;
}

QList<long long> timesOf(const std::vector<SignalEvent> &events, SignalEvent::Kind kind,
                         const std::string &source = std::string())
{
    QList<long long> times;
    for (const SignalEvent &event : events) {
        if (event.kind == kind && (source.empty() || event.source == source))
            times << event.time;
    }
    return times;
}

/// The edges of a line in one direction, from its level events.
QList<long long> edgesOf(const std::vector<SignalEvent> &events, const std::string &line, bool rising)
{
    QList<long long> times;
    for (const SignalEvent &event : events) {
        if (event.kind == SignalEvent::LineLevel && event.source == line && event.level == rising)
            times << event.time;
    }
    return times;
}

QString text(const std::vector<SignalEvent> &events)
{
    QStringList lines;
    for (const SignalEvent &e : events)
        lines << QString("%1 %2 %3 %4 %5 %6")
                         .arg(e.sequence)
                         .arg(e.time)
                         .arg(int(e.kind))
                         .arg(q(e.source))
                         .arg(e.level)
                         .arg(e.frame)
                     + q(e.detail);
    return lines.join('\n');
}

const char FrameStartOnLine0[] = "TriggerSelector=AcquisitionStart TriggerMode=Off TriggerSelector=FrameStart "
                                 "TriggerMode=On TriggerSource=Line0 ";

} // namespace

class tst_TimingModel : public QObject
{
    Q_OBJECT

private slots:
    void acquisitionModes_data();
    void acquisitionModes();
    void activations_data();
    void activations();
    void busyCameraMissesTriggers();
    void exposureMeasuredByTrigger_data();
    void exposureMeasuredByTrigger();
    void outputsFollowTheirSources_data();
    void outputsFollowTheirSources();
    void routedInputLines();
    void softwareTrigger_data();
    void softwareTrigger();
    void wiringRefusals();
    void sameEventsEveryRun();
    void realTimeClock();
    void testPatternStamp();
};

void tst_TimingModel::acquisitionModes_data()
{
    // clang-format off
    QTest::addColumn<QString>("settings");
    QTest::addColumn<double>("frameRate");
    QTest::addColumn<int>("frames");

    // 10 ms exposure and 1 ms readout (exposure-mode camera): 30 frames a
    // second start at 0, 33.3, ... ms; those read out within the second count.
    QTest::newRow("continuous, 30 fps") << "AcquisitionMode=Continuous" << 30.0 << 30;
    QTest::newRow("continuous, 10 fps") << "AcquisitionMode=Continuous" << 10.0 << 10;
    // Faster than exposure plus readout allows: one frame each 11 ms, 90 in a second.
    QTest::newRow("continuous, beyond the sensor") << "AcquisitionMode=Continuous" << 1000.0 << 90;
    QTest::newRow("single frame") << "AcquisitionMode=SingleFrame" << 30.0 << 1;
    QTest::newRow("multi frame, 7") << "AcquisitionMode=MultiFrame AcquisitionFrameCount=7" << 30.0 << 7;
    // clang-format on
}

void tst_TimingModel::acquisitionModes()
{
    QFETCH(QString, settings);
    QFETCH(double, frameRate);
    QFETCH(int, frames);

    auto camera = load("exposure-mode.json", QJsonObject{{"frameRate", frameRate}, {"readoutTime", 1000}});
    QVERIFY(configure(*camera, settings + " run:AcquisitionStart"));
    camera->timing().advance(1000 * Ms);
    QCOMPARE(int(camera->timing().framesDelivered()), frames);
    const auto events = camera->timing().events();
    QCOMPARE(timesOf(events, SignalEvent::FrameDelivered).size(), frames);
    // A finished single or multi frame acquisition is no longer active.
    QCOMPARE(timesOf(events, SignalEvent::AcquisitionActive).size(), settings.contains("Continuous") ? 1 : 2);
}

void tst_TimingModel::activations_data()
{
    // clang-format off
    QTest::addColumn<QString>("activation");
    QTest::addColumn<bool>("idleHigh");
    QTest::addColumn<int>("frames");

    // Five 9 ms pulses, 50 ms apart; 1 ms exposure and 1 ms readout: a
    // level trigger takes a frame every 2 ms while its level holds.
    QTest::newRow("rising edge") << "RisingEdge" << false << 5;
    QTest::newRow("falling edge") << "FallingEdge" << false << 5;
    QTest::newRow("any edge") << "AnyEdge" << false << 10;
    QTest::newRow("level high") << "LevelHigh" << false << 25;
    QTest::newRow("level low") << "LevelLow" << true << 25;
    // clang-format on
}

void tst_TimingModel::activations()
{
    QFETCH(QString, activation);
    QFETCH(bool, idleHigh);
    QFETCH(int, frames);

    auto camera = load("exposure-mode.json", QJsonObject{{"frameRate", 30}, {"readoutTime", 1000}});
    OrvSim::Timing &timing = camera->timing();
    QCOMPARE(timing.setLine("Line0", idleHigh), OrvErrSuccess);
    QVERIFY(configure(*camera, FrameStartOnLine0 + ("TriggerActivation=" + activation)
                                   + " ExposureTime=1000 run:AcquisitionStart"));
    timing.advance(5 * Ms);
    QCOMPARE(timing.pulseTrain("Line0", 50 * Ms, 9 * Ms, 5), OrvErrSuccess);
    timing.advance(300 * Ms);

    const auto events = timing.events();
    QCOMPARE(int(timing.framesDelivered()), frames);
    QCOMPARE(timing.missedTriggers(), 0ULL);
    if (activation.endsWith("Edge")) {
        // Each frame starts on the very edge that triggered it.
        QList<long long> edges = edgesOf(events, "Line0", activation == "RisingEdge");
        if (activation == "AnyEdge")
            edges = timesOf(events, SignalEvent::LineLevel, "Line0");
        QCOMPARE(timesOf(events, SignalEvent::ExposureStart), edges);
    }
}

void tst_TimingModel::busyCameraMissesTriggers()
{
    // 10 ms exposure, 3 ms readout; falling edges at 1, 4, 7 ... 28 ms.
    auto camera = load("exposure-mode.json", QJsonObject{{"frameRate", 30}, {"readoutTime", 3000}});
    OrvSim::Timing &timing = camera->timing();
    QVERIFY(configure(*camera, QString(FrameStartOnLine0) + "TriggerActivation=FallingEdge run:AcquisitionStart"));
    QCOMPARE(timing.pulseTrain("Line0", 3 * Ms, 1 * Ms, 10), OrvErrSuccess);
    timing.advance(100 * Ms);

    const auto events = timing.events();
    QCOMPARE(timesOf(events, SignalEvent::ExposureStart), (QList<long long>{1 * Ms, 16 * Ms}));
    QCOMPARE(timing.missedTriggers(), 8ULL);
    QStringList reasons;
    for (const SignalEvent &event : events) {
        if (event.kind == SignalEvent::TriggerMissed)
            reasons << QString("%1:%2").arg(event.time / Ms).arg(q(event.detail));
    }
    QCOMPARE(reasons, (QStringList{"4:exposing", "7:exposing", "10:exposing", "13:reading out", "19:exposing",
                                   "22:exposing", "25:exposing", "28:reading out"}));
    // A trigger is not queued: nothing starts after the train.
    QCOMPARE(timing.framesDelivered(), 2ULL);
}

void tst_TimingModel::exposureMeasuredByTrigger_data()
{
    // clang-format off
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("line");

    QTest::newRow("exposure mode TriggerWidth, falling edge")
        << "exposure-mode.json" << QString(FrameStartOnLine0) + "TriggerActivation=FallingEdge ExposureMode=TriggerWidth"
        << "Line0";
    QTest::newRow("exposure auto \"other\", level low")
        << "exposure-auto.json"
        << "TriggerSelector=FrameStart TriggerMode=On TriggerSource=Line1 TriggerActivation=LevelLow "
           "ExposureAuto=other"
        << "Line1";
    QTest::newRow("exposure active trigger through routing")
        << "line-routing.json"
        << "TriggerSelector=ExposureActive TriggerMode=On TriggerSource=InputLines TriggerActivation=LevelLow "
           "LineSelector=Line0 LineRouting=Trigger"
        << "Line0";
    // clang-format on
}

void tst_TimingModel::exposureMeasuredByTrigger()
{
    QFETCH(QString, file);
    QFETCH(QString, settings);
    QFETCH(QString, line);

    auto camera = load(file);
    OrvSim::Timing &timing = camera->timing();
    const std::string name = line.toStdString();
    QCOMPARE(timing.setLine(name, true), OrvErrSuccess);
    QVERIFY(configure(*camera, settings + " run:AcquisitionStart"));
    // Low pulses of 3, 17 and 40 ms.
    for (long long width : {3, 17, 40}) {
        timing.advance(10 * Ms);
        QCOMPARE(timing.pulse(name, width * Ms), OrvErrSuccess);
        timing.advance(100 * Ms);
    }
    const auto events = timing.events();
    const QList<long long> starts = timesOf(events, SignalEvent::ExposureStart);
    const QList<long long> ends = timesOf(events, SignalEvent::ExposureEnd);
    QCOMPARE(starts, edgesOf(events, name, false));
    // The first rising edge is the line's idle level being set.
    QCOMPARE(ends, edgesOf(events, name, true).mid(1));
    QCOMPARE(ends.size(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(ends[i] - starts[i], QList<long long>({3, 17, 40})[i] * Ms);
    QCOMPARE(int(timing.framesDelivered()), 3);
}

void tst_TimingModel::outputsFollowTheirSources_data()
{
    // clang-format off
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("output");  // line, or "mask:bit"
    QTest::addColumn<QString>("follows"); // exposing, waiting, active, user
    QTest::addColumn<bool>("inverted");

    const QString triggered = QString(FrameStartOnLine0) + "TriggerActivation=FallingEdge ";
    for (bool inverted : { false, true }) {
        const QString inverter = inverted ? " LineInverter=true" : "";
        const QString tag = inverted ? ", inverted" : "";
        QTest::newRow(qPrintable("ExposureActive" + tag))
            << "exposure-mode.json" << triggered + "LineSelector=Line2 LineSource=ExposureActive" + inverter << "Line2"
            << "exposing" << inverted;
        QTest::newRow(qPrintable("FrameTriggerWait" + tag))
            << "exposure-mode.json" << triggered + "LineSelector=Line2 LineSource=FrameTriggerWait" + inverter
            << "Line2" << "waiting" << inverted;
        QTest::newRow(qPrintable("AcquisitionActive" + tag))
            << "exposure-mode.json"
            << "AcquisitionMode=MultiFrame AcquisitionFrameCount=3 LineSelector=Line2 LineSource=AcquisitionActive"
                   + inverter
            << "Line2" << "active" << inverted;
        QTest::newRow(qPrintable("user output" + tag))
            << "exposure-mode.json" << triggered + "LineSelector=Line2 LineSource=UserOutput2" + inverter << "Line2"
            << "user" << inverted;
        QTest::newRow(qPrintable("line-routing camera's ExposureActive line" + tag))
            << "line-routing.json"
            << "TriggerMode=On TriggerSource=InputLines TriggerActivation=FallingEdge LineSelector=Line0 "
               "LineRouting=Trigger LineSelector=Line2"
                   + inverter
            << "Line2" << "exposing" << inverted;
        const QString polarity = inverted ? " SyncOutPolarity=Invert" : "";
        QTest::newRow(qPrintable("SyncOut Exposing" + tag))
            << "syncout.json" << "TriggerMode=On TriggerSource=Line1 TriggerActivation=FallingEdge" + polarity
            << "mask:0" << "exposing" << inverted;
        QTest::newRow(qPrintable("SyncOut FrameTriggerReady" + tag))
            << "syncout.json"
            << "TriggerMode=On TriggerSource=Line1 TriggerActivation=FallingEdge SyncOutSelector=SyncOut2" + polarity
            << "mask:1" << "waiting" << inverted;
    }
    // clang-format on
}

void tst_TimingModel::outputsFollowTheirSources()
{
    QFETCH(QString, file);
    QFETCH(QString, settings);
    QFETCH(QString, output);
    QFETCH(QString, follows);
    QFETCH(bool, inverted);

    auto camera = load(file, QJsonObject{{"frameRate", 30}, {"readoutTime", 2000}});
    OrvSim::Timing &timing = camera->timing();
    QVERIFY(configure(*camera, settings));
    const FeaturePtr status = camera->feature(output.startsWith("mask") ? "SyncOutLevels" : "LineStatus");
    IFeatureObserverPtr recorder(new RecordingObserver);
    QCOMPARE(status->RegisterObserver(recorder), OrvErrSuccess);
    const std::string trigger = file == "syncout.json" ? "Line1" : "Line0";
    const auto level = [&]() {
        if (output.startsWith("mask"))
            return ((std::stoll(camera->valueOf("SyncOutLevels")) >> output.section(':', 1).toInt()) & 1) != 0;
        return camera->valueOf("LineStatus", output.toStdString()) == "true";
    };

    bool last = level();
    QVERIFY(configure(*camera, "run:AcquisitionStart"));
    timing.pulseTrain(trigger, 30 * Ms, 2 * Ms, 4);
    // Sample every 0.5 ms and compare with what the events say the camera did.
    int changes = 0;
    bool user = false;
    for (long long t = 0; t < 200 * Ms; t += 500) {
        if (follows == "user" && t % (40 * Ms) == 0) {
            user = !user;
            configure(*camera,
                      QString("UserOutputSelector=UserOutput2 UserOutputValue=%1").arg(user ? "true" : "false"));
        }
        timing.advance(500);
        const auto events = timing.events();
        bool expected = false;
        for (const SignalEvent &e : events) {
            if (follows == "exposing" && (e.kind == SignalEvent::ExposureStart || e.kind == SignalEvent::ExposureEnd))
                expected = e.kind == SignalEvent::ExposureStart;
            if (follows == "active" && e.kind == SignalEvent::AcquisitionActive)
                expected = e.level;
        }
        if (follows == "user")
            expected = user;
        if (follows == "waiting") {
            // Ready for a frame trigger: acquiring, idle since the last frame was read out.
            expected = true;
            for (const SignalEvent &e : events) {
                if (e.kind == SignalEvent::ExposureStart)
                    expected = false;
                if (e.kind == SignalEvent::FrameDelivered)
                    expected = true;
            }
        }
        QVERIFY2(level() == (expected != inverted), qPrintable(QString("at %1 us").arg(timing.now())));
        if (level() != last)
            ++changes;
        last = level();
    }
    QVERIFY(changes >= 2);
    // Observers hear of the changes; changes that come while one report is
    // still on its way are told in that one.
    OrvSim::Camera::waitForNotifications();
    QVERIFY(!static_cast<RecordingObserver *>(recorder.get())->names().isEmpty());
    status->UnregisterObserver(recorder);
}

void tst_TimingModel::routedInputLines()
{
    auto camera = load("line-routing.json");
    OrvSim::Timing &timing = camera->timing();
    QVERIFY(configure(*camera, "TriggerMode=On TriggerSource=InputLines TriggerActivation=FallingEdge "
                               "LineSelector=Line0 LineRouting=Trigger run:AcquisitionStart"));
    timing.pulseTrain("Line1", 50 * Ms, 5 * Ms, 4);
    timing.advance(300 * Ms);
    QCOMPARE(timing.framesDelivered(), 0ULL);
    timing.pulseTrain("Line0", 50 * Ms, 5 * Ms, 4);
    timing.advance(300 * Ms);
    QCOMPARE(timing.framesDelivered(), 4ULL);

    // An inverted input turns the electrical rising edge into the falling one the trigger waits for.
    QVERIFY(configure(*camera, "LineInverter=true"));
    const QList<long long> rising = edgesOf(timing.events(), "Line0", true);
    timing.pulseTrain("Line0", 50 * Ms, 5 * Ms, 2);
    timing.advance(300 * Ms);
    const auto events = timing.events();
    QCOMPARE(timesOf(events, SignalEvent::ExposureStart).mid(4), edgesOf(events, "Line0", true).mid(rising.size()));
    // A level set from the camera side, as a test or the feature tree does, is an edge too.
    QCOMPARE(camera->setFromCamera("LineStatus", "true", "Line0"), OrvErrSuccess);
    QCOMPARE(timing.framesDelivered(), 6ULL);
    timing.advance(100 * Ms);
    QCOMPARE(timing.framesDelivered(), 7ULL);
}

void tst_TimingModel::softwareTrigger_data()
{
    // clang-format off
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("frames");
    QTest::addColumn<QString>("missed");

    QTest::newRow("software source") << "TriggerSource=Software" << 1 << "";
    QTest::newRow("line source") << "TriggerSource=Line0" << 0 << "TriggerSource is Line0, not Software";
    QTest::newRow("mode off, other selector") << "TriggerSource=Software TriggerSelector=AcquisitionStart" << 0
                                              << "TriggerMode is Off";
    // clang-format on
}

void tst_TimingModel::softwareTrigger()
{
    QFETCH(QString, settings);
    QFETCH(int, frames);
    QFETCH(QString, missed);

    auto camera = load("exposure-mode.json");
    QVERIFY(configure(*camera, "TriggerSelector=FrameStart TriggerMode=On " + settings + " run:AcquisitionStart"));
    camera->timing().advance(50 * Ms);
    QVERIFY(configure(*camera, "run:TriggerSoftware"));
    camera->timing().advance(50 * Ms);
    QCOMPARE(int(camera->timing().framesDelivered()), frames);
    QStringList reasons;
    for (const SignalEvent &event : camera->timing().events()) {
        if (event.kind == SignalEvent::TriggerMissed)
            reasons << q(event.detail);
    }
    QCOMPARE(reasons, missed.isEmpty() ? QStringList() : QStringList{missed});
}

void tst_TimingModel::wiringRefusals()
{
    auto camera = load("exposure-mode.json");
    OrvSim::Timing &timing = camera->timing();
    QCOMPARE(timing.setLine("Line9", true), OrvErrNotFound);
    QCOMPARE(timing.pulse("Line2", 1000), OrvErrInvalidAccess); // an output
    QCOMPARE(timing.pulseTrain("Line0", 1000, 1000, 3), OrvErrBadParameter);
    QCOMPARE(timing.pulseTrain("Line0", 1000, 0, 3), OrvErrBadParameter);
    QCOMPARE(timing.advance(-1), OrvErrBadParameter);
    QCOMPARE(timing.inputLines(), (std::vector<std::string>{"Line0", "Line1", "Line4", "Line5"}));
    // A line turned to output leaves the wiring, its pulse train with it.
    QCOMPARE(timing.pulseTrain("Line4", 10 * Ms, 1 * Ms, 0), OrvErrSuccess);
    QVERIFY(configure(*camera, "LineSelector=Line4 LineMode=Output"));
    timing.advance(5 * Ms);
    const std::size_t before = timing.events().size();
    timing.advance(100 * Ms);
    QCOMPARE(timing.events().size(), before);
    QCOMPARE(timing.pulse("Line4", 1000), OrvErrInvalidAccess);

    // The syncout camera's inputs are only trigger sources, without LineStatus.
    auto older = load("syncout.json");
    QCOMPARE(older->timing().inputLines(), (std::vector<std::string>{"Line1", "Line2"}));
}

void tst_TimingModel::sameEventsEveryRun()
{
    QString first;
    for (int run = 0; run < 2; ++run) {
        auto camera = load("line-routing.json");
        QVERIFY(configure(*camera, "TriggerSelector=AcquisitionStart TriggerMode=On TriggerSource=InputLines "
                                   "LineSelector=Line0 LineRouting=Trigger AcquisitionMode=MultiFrame "
                                   "AcquisitionFrameCount=4 run:AcquisitionStart"));
        camera->timing().pulseTrain("Line0", 170 * Ms, 20 * Ms, 6);
        camera->timing().advance(1500 * Ms);
        const QString events = text(camera->timing().events());
        QVERIFY(camera->timing().framesDelivered() > 0);
        if (run == 0)
            first = events;
        else
            QCOMPARE(events, first);
    }
}

void tst_TimingModel::realTimeClock()
{
    auto camera = OrvSim::Camera::fromFile(TestCamera::path("exposure-mode.json"));
    QCOMPARE(camera->timing().advance(1000), OrvErrInvalidCall);
    QVERIFY(configure(*camera, "run:AcquisitionStart"));
    // 30 frames a second, on a thread of the library's own.
    QTRY_VERIFY(camera->timing().framesDelivered() >= 3);
    const long long now = camera->timing().now();
    QTRY_VERIFY(camera->timing().now() > now);
    QVERIFY(configure(*camera, "run:AcquisitionStop"));
}

void tst_TimingModel::testPatternStamp()
{
    auto camera = load("exposure-mode.json");
    TKN::OrvAPI::FrameImage image;
    QVERIFY(!camera->latestFrame(image));
    QVERIFY(configure(*camera, "Width=320 Height=240 run:AcquisitionStart"));
    camera->timing().advance(100 * Ms);
    QVERIFY(camera->latestFrame(image));
    QCOMPARE(image.frame, camera->timing().framesDelivered());
    QCOMPARE(image.width, 320);
    QCOMPARE(image.pixelFormat, std::string("Mono8"));
    QCOMPARE(int(image.data.size()), 320 * 240);
    // Successive frames differ; the stamp's box is black with white text.
    TKN::OrvAPI::FrameImage next;
    camera->timing().advance(40 * Ms);
    QVERIFY(camera->latestFrame(next));
    QVERIFY(next.frame > image.frame && next.data != image.data);
    QCOMPARE(int(image.data[0]), 0);
    QVERIFY(std::count(image.data.begin(), image.data.begin() + 320 * 12, 255) > 20);

    QVERIFY(configure(*camera, "run:AcquisitionStop PixelFormat=Mono10"));
    QVERIFY(camera->latestFrame(image));
    QCOMPARE(int(image.data.size()), 320 * 240 * 2);
    // GigE Vision's packing: two pixels in three bytes.
    QVERIFY(configure(*camera, "PixelFormat=Mono12Packed"));
    QVERIFY(camera->latestFrame(image));
    QCOMPARE(int(image.data.size()), 320 * 240 * 3 / 2);
}

QTEST_GUILESS_MAIN(tst_TimingModel)
#include "tst_timingmodel.moc"
