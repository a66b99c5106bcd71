// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The Aravis provider on Aravis's in-process fake camera: every feature type,
// selectors, refused writes, notifications after writes and from polling,
// the register cache, and acquisition.
#include "aravistest.h"

#include <orvapitest.h>

#include <QTemporaryFile>
#include <QtTest>

#include <unistd.h>

#include <cstdio>
#include <memory>

using namespace AravisTest;
using OrvapiTest::RecordingObserver;

namespace {

const guint32 LineStatusLine0 = 0x8130;
const guint32 TriggerSelectorRegister = 0x8000;
const guint32 TriggerModeFrameStart = 0x8010;

/// Changes a register of the fake as the camera itself would, behind Aravis's back.
void writeRegister(const CameraPtr &camera, guint32 address, guint32 value)
{
    OrvArv::withDevice(camera, [address, value](_ArvDevice *device) {
        arv_fake_camera_write_register(arv_fake_device_get_fake_camera(ARV_FAKE_DEVICE(device)), address, value);
    });
}

/// Everything Aravis writes to stderr while it lives, for its cache reports.
class StderrCapture
{
public:
    StderrCapture()
    {
        m_File.open();
        std::fflush(stderr);
        m_Saved = dup(2);
        dup2(m_File.handle(), 2);
    }
    ~StderrCapture() { restore(); }
    QString finish()
    {
        restore();
        m_File.seek(0);
        return QString::fromUtf8(m_File.readAll());
    }

private:
    void restore()
    {
        if (m_Saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_Saved, 2);
        ::close(m_Saved);
        m_Saved = -1;
    }
    QTemporaryFile m_File;
    int m_Saved = -1;
};

} // namespace

class tst_AravisProvider : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { keepOffTheNetwork(); }
    void init();
    void cleanup();

    void writes_data();
    void writes();
    void entriesAndCategories();
    void notificationsAfterWrites_data();
    void notificationsAfterWrites();
    void pollingFollowsTheCamera();
    void cachedReadsStayOffTheWire();
    void linkCountsWhatReachesTheDevice_data();
    void linkCountsWhatReachesTheDevice();
    void registerCacheAgreesWithTheDevice();
    void acquisitionCountsFrames();
    void signalsFromTheStreamAndPolling();

private:
    std::shared_ptr<RecordingObserver> observeAll(const CameraPtr &camera);

    CameraPtr m_Camera;
    IFeatureObserverPtr m_Observer;
};

void tst_AravisProvider::init()
{
    m_Camera = openFake();
    QVERIFY(m_Camera);
}

void tst_AravisProvider::cleanup()
{
    if (m_Observer) {
        for (const FeaturePtr &feature : m_Camera->GetFeatures())
            feature->UnregisterObserver(m_Observer);
        m_Observer.reset();
    }
    m_Camera.reset();
    OrvSim::Camera::waitForNotifications();
}

std::shared_ptr<RecordingObserver> tst_AravisProvider::observeAll(const CameraPtr &camera)
{
    auto *recorder = new RecordingObserver;
    m_Observer = IFeatureObserverPtr(recorder);
    for (const FeaturePtr &feature : camera->GetFeatures())
        feature->RegisterObserver(m_Observer);
    // Not owned: m_Observer keeps it.
    return std::shared_ptr<RecordingObserver>(recorder, [](RecordingObserver *) {});
}

void tst_AravisProvider::writes_data()
{
    // clang-format off
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("code");
    // What reads back through Aravis afterwards.
    QTest::addColumn<QString>("expected");

    const int ok = OrvErrSuccess, access = OrvErrInvalidAccess, invalid = OrvErrInvalidValue;
    QTest::newRow("integer") << "" << "Width=640" << ok << "Width=640 PayloadSize=327680";
    QTest::newRow("integer above its maximum") << "" << "Width=4096" << invalid << "Width=512";
    QTest::newRow("integer through a converter") << "" << "AcquisitionFrameCount=10" << ok
                                                 << "AcquisitionFrameCount=10";
    QTest::newRow("integer below its minimum") << "" << "AcquisitionFrameCount=0" << invalid
                                               << "AcquisitionFrameCount=1";
    QTest::newRow("float") << "" << "ExposureTimeAbs=2500" << ok << "ExposureTimeAbs=2500";
    QTest::newRow("float below its minimum") << "" << "ExposureTimeAbs=1" << invalid << "ExposureTimeAbs=10000";
    QTest::newRow("enumeration") << "" << "TriggerMode=On" << ok << "TriggerMode=On";
    QTest::newRow("no such entry") << "" << "TriggerMode=Maybe" << invalid << "TriggerMode=Off";
    QTest::newRow("string") << "" << "DeviceUserID=bench-3" << ok << "DeviceUserID=bench-3";
    QTest::newRow("string longer than its register") << "" << "DeviceUserID=seventeen-letters" << invalid
                                                     << "DeviceUserID=";
    QTest::newRow("boolean") << "" << "LineInverter=true" << ok << "LineInverter[Line0]=true LineInverter[Line1]=false";
    QTest::newRow("command") << "" << "run:TriggerSoftware" << ok << "";
    QTest::newRow("text to an integer") << "" << "text:Width=640" << int(OrvErrWrongType) << "Width=512";
    QTest::newRow("read-only enumeration") << "" << "LineMode=Output" << access << "LineMode=Input";
    QTest::newRow("read-only string") << "" << "DeviceVendorName=Orvik" << access << "DeviceVendorName=Aravis";
    QTest::newRow("locked: an input line's source") << "" << "LineSource=UserOutput1" << access << "LineSource=Off";
    QTest::newRow("an output line's source") << "LineSelector=Line2" << "LineSource=UserOutput1" << ok
                                             << "LineSource[Line2]=UserOutput1 LineMode[Line2]=Output";
    QTest::newRow("locked while acquiring") << "start" << "TriggerMode=On" << access << "TriggerMode=Off";
    QTest::newRow("unlocked after stopping") << "start stop" << "TriggerMode=On" << ok << "TriggerMode=On";
    QTest::newRow("one value per selector entry")
        << "TriggerSelector=AcquisitionStart TriggerMode=On TriggerSelector=FrameStart" << "TriggerSource=Software"
        << ok << "TriggerMode=Off TriggerMode[AcquisitionStart]=On TriggerSource[AcquisitionStart]=Line0";
    QTest::newRow("user output per selector entry") << "UserOutputSelector=UserOutput3" << "UserOutputValue=true" << ok
                                                    << "UserOutputValue[UserOutput3]=true UserOutputValue[UserOutput1]=false";
    // clang-format on
}

void tst_AravisProvider::writes()
{
    QFETCH(QString, before);
    QFETCH(QString, step);
    QFETCH(int, code);
    QFETCH(QString, expected);

    for (const QString &earlier : before.split(' ', Qt::SkipEmptyParts))
        QCOMPARE(int(applyStep(m_Camera, earlier)), int(OrvErrSuccess));
    QCOMPARE(int(applyStep(m_Camera, step)), code);
    const bool wasAcquiring = m_Camera->IsAcquiring();
    // Selector walks are refused while acquiring: read after stopping.
    m_Camera->StopAcquisition();
    const QStringList wrong = mismatches(m_Camera, expected);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
    if (before == QLatin1String("start"))
        QVERIFY(wasAcquiring);
}

void tst_AravisProvider::entriesAndCategories()
{
    std::vector<std::string> entries;
    QCOMPARE(m_Camera->GetFeature("TriggerSelector")->GetValues(entries), OrvErrSuccess);
    QCOMPARE(OrvapiTest::q(entries), (QStringList{"AcquisitionStart", "FrameStart"}));
    QCOMPARE(m_Camera->GetFeature("TriggerSource")->GetValues(entries), OrvErrSuccess);
    QCOMPARE(OrvapiTest::q(entries), (QStringList{"Line0", "Line1", "Line2", "Line3", "Software"}));

    OrvFeatureDataType type = OrvFeatureDataUnknown;
    QCOMPARE(m_Camera->GetFeature("UserDataBuffer")->GetDataType(type), OrvErrSuccess);
    QCOMPARE(type, OrvFeatureDataRaw);
    // Registers and formulas behind the features are not features of their own.
    QVERIFY(!m_Camera->GetFeature("TriggerModeRegister"));
    QVERIFY(!m_Camera->GetFeature("LineModeValue"));

    const FeatureGroup groups = m_Camera->GetFeatureGroups();
    QStringList categories;
    for (const FeatureGroup &group : groups.groups)
        categories << text(group.name);
    QCOMPARE(categories, (QStringList{"DeviceControl", "ImageFormatControl", "AcquisitionControl", "DigitalIOControl",
                                      "AnalogControl", "TransportLayerControl", "Debug"}));
    QCOMPARE(text(m_Camera->GetFeatureDescription("TriggerMode")),
             QStringLiteral("Turns the selected trigger on or off."));
    QCOMPARE(text(m_Camera->GetModelName()), QStringLiteral("Fake"));
    QCOMPARE(text(m_Camera->GetId()), QStringLiteral("aravis:Aravis-Fake-TEST01"));

    // Closed, its features answer "not available" and hold no device.
    const FeaturePtr width = m_Camera->GetFeature("Width");
    m_Camera->Close();
    long long number = 0;
    QCOMPARE(width->GetValue(number), OrvErrNotAvailable);
    QCOMPARE(width->SetValue(static_cast<const long long &>(640)), OrvErrNotAvailable);
    m_Camera->Close();
}

void tst_AravisProvider::notificationsAfterWrites_data()
{
    // clang-format off
    QTest::addColumn<bool>("stockDescription");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("notified");

    QTest::newRow("trigger selector, tied by pSelected")
        << false << "TriggerSelector=AcquisitionStart" << "TriggerActivation TriggerMode TriggerSelector TriggerSource";
    QTest::newRow("line selector, also read by a formula")
        << false << "LineSelector=Line2" << "LineInverter LineMode LineSelector LineSource LineStatus";
    QTest::newRow("user output selector") << false << "UserOutputSelector=UserOutput2"
                                          << "UserOutputSelector UserOutputValue";
    QTest::newRow("selected feature: only itself") << false << "TriggerMode=On" << "TriggerMode";
    QTest::newRow("width: and the payload computed from it") << false << "Width=256" << "PayloadSize Width";
    QTest::newRow("acquisition start: the features it locks")
        << false << "start"
        << "AcquisitionFrameCount AcquisitionMode AcquisitionStart AcquisitionStop ExposureMode TriggerActivation "
           "TriggerMode TriggerSelector TriggerSource";
    // Aravis's own description ties TriggerMode to its selector by the
    // register index alone.
    QTest::newRow("Aravis's description: selector by register index")
        << true << "TriggerSelector=AcquisitionStart" << "TriggerActivation TriggerMode TriggerSelector TriggerSource";
    // clang-format on
}

void tst_AravisProvider::notificationsAfterWrites()
{
    QFETCH(bool, stockDescription);
    QFETCH(QString, step);
    QFETCH(QString, notified);

    if (stockDescription)
        m_Camera = openFake(std::string());
    const auto recorder = observeAll(m_Camera);
    QCOMPARE(int(applyStep(m_Camera, step)), int(OrvErrSuccess));
    OrvSim::Camera::waitForNotifications();
    QStringList names = recorder->names();
    names.removeDuplicates();
    names.sort();
    QCOMPARE(names.join(' '), notified);
    for (const std::thread::id &thread : recorder->threads())
        QVERIFY(thread != std::this_thread::get_id());
    m_Camera->StopAcquisition();
}

void tst_AravisProvider::pollingFollowsTheCamera()
{
    auto *recorder = new RecordingObserver;
    m_Observer = IFeatureObserverPtr(recorder);
    for (const char *name : {"LineStatus", "TriggerMode"})
        QCOMPARE(m_Camera->GetFeature(name)->RegisterObserver(m_Observer), OrvErrSuccess);
    writeRegister(m_Camera, LineStatusLine0, 1);
    QTRY_COMPARE(recorder->names(), QStringList{"LineStatus"});
    QCOMPARE(value(m_Camera, "LineStatus"), QStringLiteral("true"));
    for (const char *name : {"LineStatus", "TriggerMode"})
        QCOMPARE(m_Camera->GetFeature(name)->UnregisterObserver(m_Observer), OrvErrSuccess);
    m_Observer.reset();
}

// A cachable register changed behind Aravis's back still reads as cached: the
// read did not go to the wire. A register marked NoCache reads the change.
void tst_AravisProvider::cachedReadsStayOffTheWire()
{
    QCOMPARE(value(m_Camera, "TriggerMode"), QStringLiteral("Off"));
    QCOMPARE(value(m_Camera, "LineStatus"), QStringLiteral("false"));
    writeRegister(m_Camera, TriggerModeFrameStart, 1);
    writeRegister(m_Camera, LineStatusLine0, 1);
    QCOMPARE(value(m_Camera, "TriggerMode"), QStringLiteral("Off"));
    QCOMPARE(value(m_Camera, "LineStatus"), QStringLiteral("true"));
}

void tst_AravisProvider::linkCountsWhatReachesTheDevice_data()
{
    // clang-format off
    QTest::addColumn<bool>("registerCache");
    QTest::addColumn<QString>("feature");
    QTest::addColumn<bool>("again"); // a second read reaches the device too
    QTest::newRow("cachable, cache on") << true << "TriggerMode" << false;
    QTest::newRow("NoCache, cache on") << true << "LineStatus" << true;
    QTest::newRow("cachable, cache off") << false << "TriggerMode" << true;
    // clang-format on
}

void tst_AravisProvider::linkCountsWhatReachesTheDevice()
{
    QFETCH(bool, registerCache);
    QFETCH(QString, feature);
    QFETCH(bool, again);

    const CameraPtr camera = OrvArv::openFakeCameraOnLink("LINK01", description());
    QVERIFY(OrvArv::setFakeLink(camera, 0, registerCache));
    QVERIFY(!OrvArv::setFakeLink(m_Camera, 0, registerCache));
    unsigned long long own = 0, other = 0;
    value(camera, feature);
    QVERIFY(OrvArv::resetFakeLinkAccesses(camera));
    value(camera, feature);
    QVERIFY(OrvArv::fakeLinkAccesses(camera, own, other));
    QCOMPARE(own > 0, again);
    // Behind Aravis's back, the change is read where the read reaches the device.
    QVERIFY(OrvArv::writeFakeRegister(camera, feature == "LineStatus" ? LineStatusLine0 : TriggerModeFrameStart, 1));
    const QString expected = feature == "LineStatus" ? "true" : "On";
    QCOMPARE(value(camera, feature) == expected, again);
    camera->Close();
}

// Run once with Aravis's DEBUG cache policy: every cached read is checked
// against the device, and Aravis reports each disagreement.
void tst_AravisProvider::registerCacheAgreesWithTheDevice()
{
    arv_debug_enable("policies");
    StderrCapture capture;
    OrvArv::withDevice(m_Camera, [](_ArvDevice *device) {
        arv_device_set_register_cache_policy(device, ARV_REGISTER_CACHE_POLICY_DEBUG);
    });
    const QStringList steps{"TriggerSelector=AcquisitionStart",
                            "TriggerMode=On",
                            "TriggerSource=Line1",
                            "TriggerSelector=FrameStart",
                            "TriggerActivation=FallingEdge",
                            "ExposureMode=TriggerWidth",
                            "AcquisitionMode=MultiFrame",
                            "AcquisitionFrameCount=10",
                            "LineSelector=Line3",
                            "LineSource=UserOutput2",
                            "LineInverter=true",
                            "UserOutputSelector=UserOutput2",
                            "UserOutputValue=true",
                            "Width=256",
                            "start",
                            "stop",
                            "LineSelector=Line0",
                            "DeviceUserID=cache"};
    for (const QString &step : steps) {
        QCOMPARE(int(applyStep(m_Camera, step)), int(OrvErrSuccess));
        for (const FeaturePtr &feature : m_Camera->GetFeatures()) {
            std::string name;
            feature->GetName(name);
            value(m_Camera, text(name));
            bool writable = false;
            feature->IsWritable(writable);
        }
    }
    // The check is on and reported: one change behind Aravis's back.
    writeRegister(m_Camera, TriggerSelectorRegister, 1);
    value(m_Camera, "TriggerSelector");
    m_Camera->Close();
    const QString log = capture.finish();
    arv_debug_enable("");

    const QStringList mismatches = log.split('\n').filter(QStringLiteral("mismatch"));
    QVERIFY2(mismatches.size() == 1 && mismatches.first().contains(QLatin1String("'TriggerSelectorRegister'")),
             qPrintable(log));
}

void tst_AravisProvider::acquisitionCountsFrames()
{
    QVERIFY(m_Camera->CountsFrames());
    QCOMPARE(m_Camera->GetFrameCount(), 0ULL);
    QCOMPARE(m_Camera->StartAcquisition(), OrvErrSuccess);
    QVERIFY(m_Camera->IsAcquiring());
    // The fake delivers 25 frames a second.
    QTRY_VERIFY(m_Camera->GetFrameCount() >= 5);
    QCOMPARE(m_Camera->StopAcquisition(), OrvErrSuccess);
    QVERIFY(!m_Camera->IsAcquiring());
    // Through the command feature too, as the Features tab runs it.
    QCOMPARE(m_Camera->GetFeature("AcquisitionStart")->RunCommand(), OrvErrSuccess);
    QVERIFY(m_Camera->IsAcquiring());
    const unsigned long long before = m_Camera->GetFrameCount();
    QTRY_VERIFY(m_Camera->GetFrameCount() > before);
    // Closing while acquiring stops the stream first.
    m_Camera->Close();
    QVERIFY(!m_Camera->IsAcquiring());
}

// The Signals dock's events of a GenICam camera: frames as they arrive with
// the camera's timestamps, and line levels polled behind the page's back
// without moving its line selector.
void tst_AravisProvider::signalsFromTheStreamAndPolling()
{
    const SignalInfo info = m_Camera->GetSignalInfo();
    QVERIFY(info.available);
    QCOMPARE(OrvapiTest::q(info.otherLines), (QStringList{"Line0", "Line1", "Line2", "Line3"}));
    QVERIFY(info.triggers.empty() && !info.exposures);
    QCOMPARE(info.levelSource, std::string("LineStatus"));
    QCOMPARE(info.levelPollInterval, 250000LL);

    QCOMPARE(applyStep(m_Camera, "LineSelector=Line2"), OrvErrSuccess);
    std::vector<SignalEvent> events;
    unsigned long long last = 0, lost = 0, outOfOrder = 0;
    const auto readMore = [&]() {
        std::vector<SignalEvent> fresh;
        lost += m_Camera->GetSignalEvents(last, fresh);
        for (const SignalEvent &event : fresh) {
            outOfOrder += event.sequence != last + 1;
            last = event.sequence;
            events.push_back(event);
        }
        return !events.empty();
    };
    const auto levelOf = [&](const std::string &line) {
        int level = -1;
        for (const SignalEvent &event : events) {
            if (event.kind == SignalEvent::LineLevel && event.source == line)
                level = event.level;
        }
        return level;
    };
    // Polling starts once someone reads: every line's level comes first.
    QTRY_VERIFY(readMore() && levelOf("Line3") == 0);
    writeRegister(m_Camera, LineStatusLine0, 1);
    QTRY_VERIFY(readMore() && levelOf("Line0") == 1);
    QCOMPARE(value(m_Camera, "LineSelector"), QStringLiteral("Line2"));

    QCOMPARE(m_Camera->StartAcquisition(), OrvErrSuccess);
    QTRY_VERIFY(readMore() && m_Camera->GetFrameCount() >= 4);
    QCOMPARE(m_Camera->StopAcquisition(), OrvErrSuccess);
    readMore();
    QList<unsigned long long> frames;
    long long previous = 0;
    for (const SignalEvent &event : events) {
        QVERIFY(event.time >= previous);
        previous = event.time;
        if (event.kind == SignalEvent::FrameDelivered)
            frames << event.frame;
    }
    QCOMPARE(lost + outOfOrder, 0ULL);
    QCOMPARE(frames.size(), int(m_Camera->GetFrameCount()));
    for (int i = 0; i < frames.size(); ++i)
        QCOMPARE(frames[i], (unsigned long long)(i + 1));
    QVERIFY(previous <= m_Camera->GetSignalTime());

    FrameImage image;
    QVERIFY(m_Camera->GetLatestFrame(image));
    QVERIFY(image.frame >= 1 && image.frame <= m_Camera->GetFrameCount());
    QCOMPARE(image.pixelFormat, value(m_Camera, "PixelFormat").toStdString());
    QCOMPARE(int(image.data.size()), image.width * image.height * (image.pixelFormat == "Mono16" ? 2 : 1));
}

QTEST_GUILESS_MAIN(tst_AravisProvider)
#include "tst_aravisprovider.moc"
