// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The simulated camera's rules, seen through the Feature interface as a client sees them.
#include "orvapitest.h"

#include <QtTest>

using namespace OrvapiTest;
using OrvSim::Operation;

Q_DECLARE_METATYPE(OrvSim::Operation)

class tst_Camera : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_Camera = TestCamera::load("exposure-mode.json"); }
    void cleanup();

    void rules_data();
    void rules();
    void writes_data();
    void writes();
    void journalKeepsCallsInOrder();
    void injectedFailures_data();
    void injectedFailures();
    void featuresOutliveTheCamera();

private:
    std::shared_ptr<OrvSim::Camera> m_Camera;
};

void tst_Camera::cleanup()
{
    OrvSim::Camera::waitForNotifications();
    m_Camera.reset();
}

void tst_Camera::rules_data()
{
    // clang-format off
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("feature");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("isWritable");

    const QString line4Out = "LineSelector=Line4, LineMode=Output";
    const QString secondTriggerOn = "TriggerSelector=AcquisitionStart, TriggerMode=On, ";
    QTest::newRow("fixed output line") << "LineSelector=Line2" << "LineMode" << "Output" << false;
    QTest::newRow("switchable line") << "LineSelector=Line4" << "LineMode" << "Input" << true;
    QTest::newRow("source of an input") << "LineSelector=Line4" << "LineSource" << "Off" << false;
    QTest::newRow("source once switched to output") << line4Out << "LineSource" << "Off" << true;
    QTest::newRow("status of a direct output") << "LineSelector=Line3" << "LineStatus" << "false" << true;
    QTest::newRow("status of an input set to direct")
        << line4Out + ", LineSource=Direct, LineMode=Input" << "LineStatus" << "false" << false;
    QTest::newRow("exposure time with trigger width") << "ExposureMode=TriggerWidth" << "ExposureTime" << "10000"
                                                      << false;
    QTest::newRow("read-only string") << "" << "DeviceModelName" << "GX-2450M" << false;
    QTest::newRow("write stays with its entry")
        << secondTriggerOn + "TriggerSelector=FrameStart" << "TriggerMode" << "Off" << true;
    QTest::newRow("entry keeps its written value")
        << secondTriggerOn + "TriggerSelector=FrameStart, TriggerSelector=AcquisitionStart" << "TriggerMode" << "On"
        << true;
    QTest::newRow("locked while acquiring") << "run:AcquisitionStart" << "TriggerMode" << "Off" << false;
    QTest::newRow("free while acquiring") << "run:AcquisitionStart" << "LineInverter" << "false" << true;
    // clang-format on
}

void tst_Camera::rules()
{
    QFETCH(QString, steps);
    QFETCH(QString, feature);
    QFETCH(QString, value);
    QFETCH(bool, isWritable);

    for (const QString &step : steps.split(", ", Qt::SkipEmptyParts))
        QCOMPARE(apply(*m_Camera, step), OrvErrSuccess);
    QCOMPARE(q(m_Camera->valueOf(feature.toStdString())), value);
    bool result = !isWritable;
    QCOMPARE(m_Camera->feature(feature.toStdString())->IsWritable(result), OrvErrSuccess);
    QCOMPARE(result, isWritable);
}

void tst_Camera::writes_data()
{
    // clang-format off
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("assignment");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("valueAfter");

    const QString line4Out = "LineSelector=Line4, LineMode=Output";
    QTest::newRow("integer below range") << "" << "AcquisitionFrameCount=0" << int(OrvErrInvalidValue) << "1";
    QTest::newRow("integer at maximum") << "" << "AcquisitionFrameCount=65535" << int(OrvErrSuccess) << "65535";
    QTest::newRow("integer off the grid") << "" << "Width=2440" << int(OrvErrInvalidValue) << "2448";
    QTest::newRow("float below range") << "" << "ExposureTime=14.5" << int(OrvErrInvalidValue) << "10000";
    QTest::newRow("float without increment") << "" << "ExposureTime=1234.5" << int(OrvErrSuccess) << "1234.5";
    QTest::newRow("float off the grid") << "" << "Gain=0.15" << int(OrvErrInvalidValue) << "0";
    QTest::newRow("float on the grid after rounding")
        << "" << "Gain=0.30000000000000004" << int(OrvErrSuccess) << "0.30000000000000004";
    QTest::newRow("entry of another case") << "" << "TriggerMode=on" << int(OrvErrInvalidValue) << "Off";
    QTest::newRow("read-only") << "" << "LineMode=Output" << int(OrvErrInvalidAccess) << "Input";
    QTest::newRow("available entry") << "" << "TriggerSource=Line4" << int(OrvErrSuccess) << "Line4";
    QTest::newRow("entry of a line switched to output")
        << line4Out << "TriggerSource=Line4" << int(OrvErrEntryUnavailable) << "Line0";
    QTest::newRow("availability reads its own entry, not the selected one")
        << line4Out + ", LineSelector=Line5" << "TriggerSource=Line4" << int(OrvErrEntryUnavailable) << "Line0";
    QTest::newRow("locked while acquiring")
        << "run:AcquisitionStart" << "TriggerMode=Off" << int(OrvErrInvalidAccess) << "Off";
    QTest::newRow("free while acquiring")
        << "run:AcquisitionStart" << "LineInverter=true" << int(OrvErrSuccess) << "true";
    QTest::newRow("camera-side change of a read-only value")
        << "" << "camera:LineStatus=true" << int(OrvErrSuccess) << "true";
    QTest::newRow("camera-side text for an integer") << "" << "camera:Width=wide" << int(OrvErrInvalidValue) << "2448";
    QTest::newRow("camera-side change of no feature") << "" << "camera:NoSuchFeature=1" << int(OrvErrNotFound) << "";
    // Stopping an idle camera is no error.
    QTest::newRow("unlocked after stop") << "run:AcquisitionStop, run:AcquisitionStart, run:AcquisitionStop"
                                         << "TriggerMode=On" << int(OrvErrSuccess) << "On";
    // clang-format on
}

void tst_Camera::writes()
{
    QFETCH(QString, steps);
    QFETCH(QString, assignment);
    QFETCH(int, expected);
    QFETCH(QString, valueAfter);

    for (const QString &step : steps.split(", ", Qt::SkipEmptyParts))
        QCOMPARE(apply(*m_Camera, step), OrvErrSuccess);
    const bool fromCamera = assignment.startsWith("camera:");
    const std::string name = assignment.section(':', -1).section('=', 0, 0).toStdString();
    bool available = false;
    if (!fromCamera
        && m_Camera->feature(name)->IsValueAvailable(qPrintable(assignment.section('=', 1)), available)
               == OrvErrSuccess)
        QCOMPARE(available, expected != OrvErrEntryUnavailable);
    m_Camera->clearJournal();
    QCOMPARE(int(apply(*m_Camera, assignment)), expected);
    QCOMPARE(q(m_Camera->valueOf(name)), valueAfter);
    // Refused writes reach the camera all the same; camera-side changes are no client's writes.
    QCOMPARE(q(m_Camera->writes()), fromCamera ? QStringList() : QStringList{assignment});
}

void tst_Camera::journalKeepsCallsInOrder()
{
    const FeaturePtr mode = m_Camera->feature("TriggerMode");
    const FeaturePtr width = m_Camera->feature("Width");
    m_Camera->clearJournal();

    QCOMPARE(mode->SetValue("On"), OrvErrSuccess);
    QCOMPARE(mode->SetValue("Sometimes"), OrvErrInvalidValue);
    bool available = false;
    QCOMPARE(m_Camera->feature("TriggerSource")->IsValueAvailable("Software", available), OrvErrSuccess);
    std::string value;
    QCOMPARE(mode->GetValue(value), OrvErrSuccess);
    long long widthValue = 0;
    QCOMPARE(width->GetValue(widthValue), OrvErrSuccess);
    QCOMPARE(width->SetValue(static_cast<const long long &>(1024LL)), OrvErrSuccess);
    QCOMPARE(width->SetValue(1024.0), OrvErrWrongType);
    QCOMPARE(m_Camera->feature("TriggerSoftware")->RunCommand(), OrvErrSuccess);

    QStringList journal;
    for (const OrvSim::JournalEntry &entry : m_Camera->journal()) {
        journal << q(entry.text());
        QVERIFY(!entry.fromNotificationThread);
    }
    const QStringList expected = {"SetValue TriggerMode=On",
                                  "SetValue TriggerMode=Sometimes -> -6",
                                  "IsValueAvailable TriggerSource=Software",
                                  "GetValue TriggerMode=On",
                                  "GetValue Width=2448",
                                  "SetValue Width=1024",
                                  "SetValue Width=1024 -> -7",
                                  "RunCommand TriggerSoftware"};
    QCOMPARE(journal, expected);
    const QStringList written = {"TriggerMode=On", "TriggerMode=Sometimes", "Width=1024", "Width=1024"};
    QCOMPARE(q(m_Camera->writes()), written);

    QCOMPARE(m_Camera->commandCount("TriggerSoftware"), 1LL);
    m_Camera->setJournaling(false);
    QCOMPARE(mode->SetValue("Off"), OrvErrSuccess);
    QCOMPARE(int(m_Camera->journal().size()), expected.size());
}

void tst_Camera::injectedFailures_data()
{
    // clang-format off
    QTest::addColumn<QString>("feature");
    QTest::addColumn<QString>("other");
    QTest::addColumn<OrvSim::Operation>("operation");

    // Each operation checks for failures on its own path.
    for (Operation operation : {Operation::GetName, Operation::GetValue, Operation::GetRange})
        QTest::newRow(OrvSim::operationName(operation)) << "Width" << "Height" << operation;
    for (Operation operation : {Operation::GetValue, Operation::SetValue, Operation::GetValues, Operation::IsWritable,
                                Operation::RegisterObserver, Operation::UnregisterObserver})
        QTest::addRow("%s on an enumeration", OrvSim::operationName(operation)) << "TriggerMode" << "ExposureMode"
                                                                               << operation;
    QTest::newRow("RunCommand") << "TriggerSoftware" << "AcquisitionStop" << Operation::RunCommand;
    // clang-format on
}

void tst_Camera::injectedFailures()
{
    QFETCH(QString, feature);
    QFETCH(QString, other);
    QFETCH(OrvSim::Operation, operation);

    const IFeatureObserverPtr observer(new RecordingObserver);
    const auto call = [&](const QString &featureName) -> OrvErrorType {
        const FeaturePtr f = m_Camera->feature(featureName.toStdString());
        const std::string current = m_Camera->valueOf(featureName.toStdString());
        std::string value;
        std::vector<std::string> entries;
        long long integer = 0;
        bool flag = false;
        switch (operation) {
        case Operation::GetName: return f->GetName(value);
        case Operation::GetValue: return feature == "Width" ? f->GetValue(integer) : f->GetValue(value);
        case Operation::SetValue: return f->SetValue(current.c_str());
        case Operation::GetRange: return f->GetRange(integer, integer);
        case Operation::GetValues: return f->GetValues(entries);
        case Operation::IsWritable: return f->IsWritable(flag);
        case Operation::RunCommand: return f->RunCommand();
        case Operation::RegisterObserver: {
            const OrvErrorType err = f->RegisterObserver(observer);
            f->UnregisterObserver(observer);
            return err;
        }
        case Operation::UnregisterObserver:
            // Left registered when this fails; the next registration's answer does not matter.
            f->RegisterObserver(observer);
            return f->UnregisterObserver(observer);
        default: break;
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
    QCOMPARE(mode->UnregisterObserver(observer), OrvErrNotAvailable);
    // Entry texts handed out earlier stay readable while the feature lives.
    QCOMPARE(QString(pointers[1]), QString("On"));
    QCOMPARE(observer.use_count(), 1L);
}

QTEST_APPLESS_MAIN(tst_Camera)
#include "tst_camera.moc"
