// The simulated camera's rules, seen through the Feature interface as a client sees them.
#include "orvapitest.h"

#include <testcamera.h>

#include <QtTest>

using namespace TKN::OrvAPI;
using namespace OrvapiTest;
using OrvSim::Operation;

Q_DECLARE_METATYPE(OrvSim::Operation)

namespace {

/// Writes "Feature=value" with the SetValue overload that fits the feature's type.
OrvErrorType write(OrvSim::Camera &camera, const QString &assignment)
{
    const int equals = assignment.indexOf('=');
    const std::string featureName = assignment.left(equals).toStdString();
    const std::string value = assignment.mid(equals + 1).toStdString();
    const FeaturePtr feature = camera.feature(featureName);
    if (!feature)
        return OrvErrNotFound;
    OrvFeatureDataType type = OrvFeatureDataUnknown;
    feature->GetDataType(type);
    switch (type) {
    case OrvFeatureDataInt:
        return feature->SetValue(static_cast<const long long &>(std::stoll(value)));
    case OrvFeatureDataFloat:
        return feature->SetValue(static_cast<const double &>(std::stod(value)));
    case OrvFeatureDataBool:
        return feature->SetValue(value == "true");
    default:
        return feature->SetValue(value.c_str());
    }
}

bool writable(OrvSim::Camera &camera, const char *featureName)
{
    bool result = false;
    const OrvErrorType err = camera.feature(featureName)->IsWritable(result);
    return err == OrvErrSuccess && result;
}

} // namespace

class tst_Camera : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void selectorShowsEntryValues_data();
    void selectorShowsEntryValues();
    void writeChangesSelectedEntryOnly();
    void writability_data();
    void writability();
    void entryAvailability_data();
    void entryAvailability();
    void refusedWrites_data();
    void refusedWrites();
    void lockedWhileAcquiring_data();
    void lockedWhileAcquiring();
    void commandsCountTheirRuns();
    void setFromCameraIgnoresWritability();
    void setFromCameraRefusesBadValues_data();
    void setFromCameraRefusesBadValues();
    void journalKeepsCallsInOrder();
    void injectedFailures_data();
    void injectedFailures();
    void featuresOutliveTheCamera();

private:
    std::shared_ptr<OrvSim::Camera> m_Camera;
};

void tst_Camera::init()
{
    m_Camera = TestCamera::load("exposure-mode.json");
    QVERIFY(m_Camera);
}

void tst_Camera::cleanup()
{
    OrvSim::Camera::waitForNotifications();
    m_Camera.reset();
}

void tst_Camera::selectorShowsEntryValues_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("feature");
    QTest::addColumn<QString>("expected");

    QTest::newRow("input line mode") << "exposure-mode.json" << "LineSelector=Line0" << "LineMode" << "Input";
    QTest::newRow("output line mode") << "exposure-mode.json" << "LineSelector=Line2" << "LineMode" << "Output";
    QTest::newRow("switchable line starts as input") << "exposure-mode.json" << "LineSelector=Line5" << "LineMode" << "Input";
    QTest::newRow("Line2 driven by user output") << "exposure-mode.json" << "LineSelector=Line2" << "LineSource" << "UserOutput1";
    QTest::newRow("Line3 direct") << "exposure-mode.json" << "LineSelector=Line3" << "LineSource" << "Direct";
    QTest::newRow("routing camera output") << "line-routing.json" << "LineSelector=Line3" << "LineSource" << "UserOutput1";
    QTest::newRow("routing camera input routing") << "line-routing.json" << "LineSelector=Line1" << "LineRouting" << "Off";
    QTest::newRow("sync out source") << "syncout.json" << "SyncOutSelector=SyncOut2" << "SyncOutSource" << "FrameTriggerReady";
    QTest::newRow("sync out default") << "syncout.json" << "SyncOutSelector=SyncOut4" << "SyncOutSource" << "GPO";
    QTest::newRow("line out source") << "lineout.json" << "LineOutSelector=LineOut1" << "LineOutSource" << "Exposing";
    QTest::newRow("line out polarity") << "lineout.json" << "LineOutSelector=LineOut3" << "LineOutPolarity" << "Normal";
}

void tst_Camera::selectorShowsEntryValues()
{
    QFETCH(QString, file);
    QFETCH(QString, selection);
    QFETCH(QString, feature);
    QFETCH(QString, expected);

    const std::shared_ptr<OrvSim::Camera> camera = TestCamera::load(file.toUtf8().constData());
    QCOMPARE(write(*camera, selection), OrvErrSuccess);
    QCOMPARE(text(camera->feature(feature.toStdString())), expected);
}

void tst_Camera::writeChangesSelectedEntryOnly()
{
    OrvSim::Camera &camera = *m_Camera;
    QCOMPARE(write(camera, "TriggerSelector=AcquisitionStart"), OrvErrSuccess);
    QCOMPARE(write(camera, "TriggerMode=On"), OrvErrSuccess);
    QCOMPARE(write(camera, "TriggerSelector=FrameStart"), OrvErrSuccess);
    QCOMPARE(text(camera.feature("TriggerMode")), QString("Off"));
    QCOMPARE(write(camera, "TriggerSelector=AcquisitionStart"), OrvErrSuccess);
    QCOMPARE(text(camera.feature("TriggerMode")), QString("On"));

    QCOMPARE(write(camera, "UserOutputSelector=UserOutput2"), OrvErrSuccess);
    QCOMPARE(write(camera, "UserOutputValue=true"), OrvErrSuccess);
    QCOMPARE(q(camera.valueOf("UserOutputValue", "UserOutput1")), QString("false"));
    QCOMPARE(q(camera.valueOf("UserOutputValue", "UserOutput2")), QString("true"));
    QCOMPARE(q(camera.valueOf("UserOutputValue", "UserOutput3")), QString("false"));
}

void tst_Camera::writability_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("feature");
    QTest::addColumn<bool>("expected");

    const QString em = "exposure-mode.json";
    QTest::newRow("fixed input line mode") << em << QStringList{"LineSelector=Line0"} << "LineMode" << false;
    QTest::newRow("fixed output line mode") << em << QStringList{"LineSelector=Line3"} << "LineMode" << false;
    QTest::newRow("switchable line mode") << em << QStringList{"LineSelector=Line4"} << "LineMode" << true;
    QTest::newRow("source of an input") << em << QStringList{"LineSelector=Line4"} << "LineSource" << false;
    QTest::newRow("source once switched to output")
        << em << QStringList{"LineSelector=Line4", "LineMode=Output"} << "LineSource" << true;
    QTest::newRow("status of a direct output") << em << QStringList{"LineSelector=Line3"} << "LineStatus" << true;
    QTest::newRow("status of a user output line") << em << QStringList{"LineSelector=Line2"} << "LineStatus" << false;
    QTest::newRow("status follows the selected line's source")
        << em << QStringList{"LineSelector=Line3", "LineSource=ExposureActive"} << "LineStatus" << false;
    QTest::newRow("status of an input set to direct")
        << em << QStringList{"LineSelector=Line4", "LineMode=Output", "LineSource=Direct", "LineMode=Input"}
        << "LineStatus" << false;
    QTest::newRow("exposure time while timed") << em << QStringList() << "ExposureTime" << true;
    QTest::newRow("exposure time with trigger width")
        << em << QStringList{"ExposureMode=TriggerWidth"} << "ExposureTime" << false;
    QTest::newRow("read-only string") << em << QStringList() << "DeviceModelName" << false;
    QTest::newRow("routing of an input") << "line-routing.json" << QStringList{"LineSelector=Line1"} << "LineRouting" << true;
    QTest::newRow("routing of an output") << "line-routing.json" << QStringList{"LineSelector=Line2"} << "LineRouting" << false;
    QTest::newRow("exposure time with auto on")
        << "exposure-auto.json" << QStringList{"ExposureAuto=Continuous"} << "ExposureTime" << false;
}

void tst_Camera::writability()
{
    QFETCH(QString, file);
    QFETCH(QStringList, setup);
    QFETCH(QString, feature);
    QFETCH(bool, expected);

    const std::shared_ptr<OrvSim::Camera> camera = TestCamera::load(file.toUtf8().constData());
    for (const QString &assignment : setup)
        QCOMPARE(write(*camera, assignment), OrvErrSuccess);
    QCOMPARE(writable(*camera, feature.toUtf8().constData()), expected);
}

void tst_Camera::entryAvailability_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("available");

    QTest::newRow("fixed line") << QStringList() << "Line1" << true;
    QTest::newRow("switchable line as input") << QStringList() << "Line4" << true;
    QTest::newRow("switchable line as output")
        << QStringList{"LineSelector=Line4", "LineMode=Output"} << "Line4" << false;
    QTest::newRow("other switchable line unaffected")
        << QStringList{"LineSelector=Line4", "LineMode=Output"} << "Line5" << true;
    QTest::newRow("condition reads its own entry, not the selected one")
        << QStringList{"LineSelector=Line4", "LineMode=Output", "LineSelector=Line0"} << "Line4" << false;
}

void tst_Camera::entryAvailability()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, entry);
    QFETCH(bool, available);

    for (const QString &assignment : setup)
        QCOMPARE(write(*m_Camera, assignment), OrvErrSuccess);
    bool result = !available;
    QCOMPARE(m_Camera->feature("TriggerSource")->IsValueAvailable(entry.toUtf8().constData(), result), OrvErrSuccess);
    QCOMPARE(result, available);
    const OrvErrorType expected = available ? OrvErrSuccess : OrvErrEntryUnavailable;
    QCOMPARE(write(*m_Camera, "TriggerSource=" + entry), expected);
}

void tst_Camera::refusedWrites_data()
{
    QTest::addColumn<QString>("assignment");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("valueAfter");

    QTest::newRow("integer below range") << "AcquisitionFrameCount=0" << int(OrvErrInvalidValue) << "1";
    QTest::newRow("integer above range") << "AcquisitionFrameCount=65536" << int(OrvErrInvalidValue) << "1";
    QTest::newRow("integer at maximum") << "AcquisitionFrameCount=65535" << int(OrvErrSuccess) << "65535";
    QTest::newRow("integer off the grid") << "Width=2440" << int(OrvErrInvalidValue) << "2448";
    QTest::newRow("integer on the grid") << "Width=2432" << int(OrvErrSuccess) << "2432";
    QTest::newRow("float below range") << "ExposureTime=14.5" << int(OrvErrInvalidValue) << "10000";
    QTest::newRow("float without increment") << "ExposureTime=1234.5" << int(OrvErrSuccess) << "1234.5";
    QTest::newRow("float off the grid") << "Gain=0.15" << int(OrvErrInvalidValue) << "0";
    QTest::newRow("float on the grid after rounding") << "Gain=0.30000000000000004" << int(OrvErrSuccess)
                                                     << "0.30000000000000004";
    QTest::newRow("not an entry") << "TriggerMode=Maybe" << int(OrvErrInvalidValue) << "Off";
    QTest::newRow("entry of another case") << "TriggerMode=on" << int(OrvErrInvalidValue) << "Off";
    QTest::newRow("read-only enumeration") << "LineMode=Output" << int(OrvErrInvalidAccess) << "Input";
    QTest::newRow("read-only string") << "DeviceModelName=X" << int(OrvErrInvalidAccess) << "GX-2450M";
    QTest::newRow("string") << "DeviceUserID=left camera" << int(OrvErrSuccess) << "left camera";
}

void tst_Camera::refusedWrites()
{
    QFETCH(QString, assignment);
    QFETCH(int, expected);
    QFETCH(QString, valueAfter);

    m_Camera->clearJournal();
    QCOMPARE(int(write(*m_Camera, assignment)), expected);
    const QString featureName = assignment.section('=', 0, 0);
    QCOMPARE(q(m_Camera->valueOf(featureName.toStdString())), valueAfter);
    // Refused writes reach the camera all the same.
    QCOMPARE(q(m_Camera->writes()), QStringList{assignment});
}

void tst_Camera::lockedWhileAcquiring_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("feature");
    QTest::addColumn<bool>("locked");

    const QStringList locked = {"TriggerSelector", "TriggerMode", "TriggerSource", "TriggerActivation",
                                "AcquisitionMode", "AcquisitionFrameCount"};
    for (const char *file : {"exposure-mode.json", "line-routing.json", "exposure-auto.json", "syncout.json",
                             "lineout.json"}) {
        for (const QString &feature : locked)
            QTest::addRow("%s %s", file, qPrintable(feature)) << file << feature << true;
    }
    QTest::newRow("exposure mode") << "exposure-mode.json" << "ExposureMode" << true;
    QTest::newRow("routing camera exposure mode") << "line-routing.json" << "ExposureMode" << true;
    QTest::newRow("exposure auto") << "exposure-auto.json" << "ExposureAuto" << true;
    QTest::newRow("sync out exposure mode") << "syncout.json" << "ExposureMode" << true;
    QTest::newRow("line inverter stays free") << "exposure-mode.json" << "LineInverter" << false;
    QTest::newRow("user output stays free") << "exposure-mode.json" << "UserOutputValue" << false;
    QTest::newRow("levels stay free") << "syncout.json" << "SyncOutLevels" << false;
    QTest::newRow("plain camera frame count") << "no-trigger-io.json" << "AcquisitionFrameCount" << true;
}

void tst_Camera::lockedWhileAcquiring()
{
    QFETCH(QString, file);
    QFETCH(QString, feature);
    QFETCH(bool, locked);

    const std::shared_ptr<OrvSim::Camera> camera = TestCamera::load(file.toUtf8().constData());
    const QByteArray featureName = feature.toUtf8();
    QVERIFY(camera->feature(featureName.constData()));
    QVERIFY(writable(*camera, featureName.constData()));

    QCOMPARE(camera->feature("AcquisitionStart")->RunCommand(), OrvErrSuccess);
    QVERIFY(camera->isAcquiring());
    QCOMPARE(writable(*camera, featureName.constData()), !locked);
    if (locked) {
        const QString value = q(camera->valueOf(featureName.constData()));
        QCOMPARE(write(*camera, feature + "=" + value), OrvErrInvalidAccess);
    }

    QCOMPARE(camera->feature("AcquisitionStop")->RunCommand(), OrvErrSuccess);
    QVERIFY(!camera->isAcquiring());
    QVERIFY(writable(*camera, featureName.constData()));
}

void tst_Camera::commandsCountTheirRuns()
{
    const FeaturePtr trigger = m_Camera->feature("TriggerSoftware");
    QCOMPARE(m_Camera->commandCount("TriggerSoftware"), 0LL);
    QCOMPARE(trigger->RunCommand(), OrvErrSuccess);
    QCOMPARE(trigger->RunCommand(), OrvErrSuccess);
    QCOMPARE(m_Camera->commandCount("TriggerSoftware"), 2LL);
    QCOMPARE(m_Camera->commandCount("AcquisitionStart"), 0LL);
    QCOMPARE(m_Camera->feature("Width")->RunCommand(), OrvErrWrongType);
    // Stopping a camera that does not acquire is no error.
    QCOMPARE(m_Camera->feature("AcquisitionStop")->RunCommand(), OrvErrSuccess);
    QVERIFY(!m_Camera->isAcquiring());
}

void tst_Camera::setFromCameraIgnoresWritability()
{
    m_Camera->clearJournal();
    QCOMPARE(write(*m_Camera, "LineSelector=Line0"), OrvErrSuccess);
    QVERIFY(!writable(*m_Camera, "LineStatus"));
    QCOMPARE(m_Camera->setFromCamera("LineStatus", "true"), OrvErrSuccess);
    QCOMPARE(m_Camera->setFromCamera("LineStatus", "true", "Line1"), OrvErrSuccess);
    QCOMPARE(m_Camera->setFromCamera("DeviceModelName", "GX-2450C"), OrvErrSuccess);

    bool status = false;
    QCOMPARE(m_Camera->feature("LineStatus")->GetValue(status), OrvErrSuccess);
    QVERIFY(status);
    QCOMPARE(q(m_Camera->valueOf("LineStatus", "Line1")), QString("true"));
    QCOMPARE(q(m_Camera->valueOf("LineStatus", "Line2")), QString("false"));
    QCOMPARE(text(m_Camera->feature("DeviceModelName")), QString("GX-2450C"));
    // Camera-side changes are not calls of a client.
    QCOMPARE(q(m_Camera->writes()), QStringList{"LineSelector=Line0"});
}

void tst_Camera::setFromCameraRefusesBadValues_data()
{
    QTest::addColumn<QString>("feature");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("selectorEntry");
    QTest::addColumn<int>("expected");

    QTest::newRow("unknown feature") << "NoSuchFeature" << "1" << "" << int(OrvErrNotFound);
    QTest::newRow("not an integer") << "Width" << "wide" << "" << int(OrvErrInvalidValue);
    QTest::newRow("integer out of range") << "Width" << "4096" << "" << int(OrvErrInvalidValue);
    QTest::newRow("not a boolean") << "LineStatus" << "yes" << "" << int(OrvErrInvalidValue);
    QTest::newRow("not an entry") << "LineMode" << "Bidirectional" << "" << int(OrvErrInvalidValue);
    QTest::newRow("unknown selector entry") << "LineMode" << "Output" << "Line9" << int(OrvErrNotFound);
    QTest::newRow("entry of an unselected feature") << "Width" << "16" << "Line1" << int(OrvErrBadParameter);
    QTest::newRow("command") << "TriggerSoftware" << "1" << "" << int(OrvErrWrongType);
}

void tst_Camera::setFromCameraRefusesBadValues()
{
    QFETCH(QString, feature);
    QFETCH(QString, value);
    QFETCH(QString, selectorEntry);
    QFETCH(int, expected);

    QCOMPARE(int(m_Camera->setFromCamera(feature.toStdString(), value.toStdString(), selectorEntry.toStdString())),
             expected);
}

void tst_Camera::journalKeepsCallsInOrder()
{
    const FeaturePtr mode = m_Camera->feature("TriggerMode");
    const FeaturePtr source = m_Camera->feature("TriggerSource");
    const FeaturePtr width = m_Camera->feature("Width");
    m_Camera->clearJournal();

    QCOMPARE(mode->SetValue("On"), OrvErrSuccess);
    QCOMPARE(mode->SetValue("Sometimes"), OrvErrInvalidValue);
    bool available = false;
    QCOMPARE(source->IsValueAvailable("Software", available), OrvErrSuccess);
    std::string value;
    QCOMPARE(mode->GetValue(value), OrvErrSuccess);
    long long widthValue = 0;
    QCOMPARE(width->GetValue(widthValue), OrvErrSuccess);
    QCOMPARE(width->SetValue(static_cast<const long long &>(1024LL)), OrvErrSuccess);
    QCOMPARE(width->SetValue(1024.0), OrvErrWrongType);
    QCOMPARE(m_Camera->feature("TriggerSoftware")->RunCommand(), OrvErrSuccess);

    const QStringList expected = {
        "SetValue TriggerMode=On",
        "SetValue TriggerMode=Sometimes -> -6",
        "IsValueAvailable TriggerSource=Software",
        "GetValue TriggerMode=On",
        "GetValue Width=2448",
        "SetValue Width=1024",
        "SetValue Width=1024 -> -7",
        "RunCommand TriggerSoftware",
    };
    QCOMPARE(journalTexts(*m_Camera), expected);
    QCOMPARE(q(m_Camera->writes()), (QStringList{"TriggerMode=On", "TriggerMode=Sometimes", "Width=1024", "Width=1024"}));
    for (const OrvSim::JournalEntry &entry : m_Camera->journal())
        QVERIFY(!entry.fromNotificationThread);

    m_Camera->setJournaling(false);
    QCOMPARE(mode->SetValue("Off"), OrvErrSuccess);
    QCOMPARE(journalTexts(*m_Camera).size(), expected.size());
}

void tst_Camera::injectedFailures_data()
{
    QTest::addColumn<QString>("feature");
    QTest::addColumn<QString>("other");
    QTest::addColumn<OrvSim::Operation>("operation");

    QTest::newRow("GetName") << "Width" << "Height" << Operation::GetName;
    QTest::newRow("GetDisplayName") << "Width" << "Height" << Operation::GetDisplayName;
    QTest::newRow("GetDataType") << "Width" << "Height" << Operation::GetDataType;
    QTest::newRow("GetValue integer") << "Width" << "Height" << Operation::GetValue;
    QTest::newRow("GetValue text") << "TriggerMode" << "ExposureMode" << Operation::GetValue;
    QTest::newRow("SetValue") << "TriggerMode" << "ExposureMode" << Operation::SetValue;
    QTest::newRow("GetRange") << "Width" << "Height" << Operation::GetRange;
    QTest::newRow("GetIncrement") << "Width" << "Height" << Operation::GetIncrement;
    QTest::newRow("GetValues") << "TriggerMode" << "ExposureMode" << Operation::GetValues;
    QTest::newRow("IsValueAvailable") << "TriggerMode" << "ExposureMode" << Operation::IsValueAvailable;
    QTest::newRow("IsWritable") << "TriggerMode" << "ExposureMode" << Operation::IsWritable;
    QTest::newRow("RunCommand") << "TriggerSoftware" << "AcquisitionStop" << Operation::RunCommand;
    QTest::newRow("RegisterObserver") << "TriggerMode" << "ExposureMode" << Operation::RegisterObserver;
    QTest::newRow("UnregisterObserver") << "TriggerMode" << "ExposureMode" << Operation::UnregisterObserver;
}

void tst_Camera::injectedFailures()
{
    QFETCH(QString, feature);
    QFETCH(QString, other);
    QFETCH(OrvSim::Operation, operation);

    const IFeatureObserverPtr observer(new RecordingObserver);
    OrvSim::Camera &camera = *m_Camera;
    const auto call = [&](const QString &featureName) -> OrvErrorType {
        const std::string name = featureName.toStdString();
        const FeaturePtr f = camera.feature(name);
        const std::string current = camera.valueOf(name);
        std::string text;
        std::vector<std::string> entries;
        long long integer = 0;
        OrvFeatureDataType type;
        bool flag = false;
        switch (operation) {
        case Operation::GetName: return f->GetName(text);
        case Operation::GetDisplayName: return f->GetDisplayName(text);
        case Operation::GetDataType: return f->GetDataType(type);
        case Operation::GetValue: return name == "Width" || name == "Height" ? f->GetValue(integer) : f->GetValue(text);
        case Operation::SetValue: return f->SetValue(current.c_str());
        case Operation::GetRange: return f->GetRange(integer, integer);
        case Operation::GetIncrement: return f->GetIncrement(integer);
        case Operation::GetValues: return f->GetValues(entries);
        case Operation::IsValueAvailable: return f->IsValueAvailable(current.c_str(), flag);
        case Operation::IsWritable: return f->IsWritable(flag);
        case Operation::RunCommand: return f->RunCommand();
        case Operation::RegisterObserver: {
            const OrvErrorType err = f->RegisterObserver(observer);
            if (err == OrvErrSuccess)
                f->UnregisterObserver(observer);
            return err;
        }
        case Operation::UnregisterObserver: {
            // Left registered when the call fails; the next call's registration then
            // answers OrvErrAlreadyRegistered, which does not matter here.
            f->RegisterObserver(observer);
            return f->UnregisterObserver(observer);
        }
        }
        return OrvErrInternalFault;
    };

    QCOMPARE(call(feature), OrvErrSuccess);
    m_Camera->injectFailure(feature.toStdString(), operation, OrvErrIO, 2);
    QCOMPARE(call(feature), OrvErrIO);
    QCOMPARE(call(other), OrvErrSuccess);
    QCOMPARE(call(feature), OrvErrIO);
    QCOMPARE(call(feature), OrvErrSuccess);

    m_Camera->injectFailure(feature.toStdString(), operation, OrvErrTimeout);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(call(feature), OrvErrTimeout);
    m_Camera->clearFailures();
    QCOMPARE(call(feature), OrvErrSuccess);

    int failedCalls = 0;
    for (const OrvSim::JournalEntry &entry : m_Camera->journal())
        failedCalls += entry.operation == operation && entry.result == OrvErrTimeout && q(entry.feature) == feature;
    QCOMPARE(failedCalls, 3);
}

void tst_Camera::featuresOutliveTheCamera()
{
    FeaturePtr mode = m_Camera->feature("TriggerMode");
    std::vector<std::string> entries;
    QCOMPARE(mode->GetValues(entries), OrvErrSuccess);
    const char *pointers[2] = {nullptr, nullptr};
    unsigned int count = 2;
    QCOMPARE(mode->GetValues(pointers, count), OrvErrSuccess);
    const IFeatureObserverPtr observer(new RecordingObserver);
    QCOMPARE(mode->RegisterObserver(observer), OrvErrSuccess);
    const std::weak_ptr<OrvSim::Camera> watch = m_Camera;

    m_Camera.reset();
    QVERIFY(watch.expired());
    std::string value;
    QCOMPARE(mode->GetValue(value), OrvErrNotAvailable);
    QCOMPARE(mode->SetValue("On"), OrvErrNotAvailable);
    QCOMPARE(mode->GetName(value), OrvErrNotAvailable);
    QCOMPARE(mode->UnregisterObserver(observer), OrvErrNotAvailable);
    // Entry texts handed out earlier stay readable while the feature lives.
    QCOMPARE(QString(pointers[1]), QString("On"));
    QCOMPARE(observer.use_count(), 1L);
}

QTEST_APPLESS_MAIN(tst_Camera)
#include "tst_camera.moc"
