// Change notifications: the library's own thread, what each change reports, and
// the guarantees of UnregisterObserver.
#include "orvapitest.h"

#include <testcamera.h>

#include <QtTest>

#include <future>

using namespace TKN::OrvAPI;
using namespace OrvapiTest;

namespace {

/// Notices a delivery that arrives while its owner considers it unregistered.
class GuardedObserver : public IFeatureObserver
{
public:
    std::atomic<bool> registered{false};
    std::atomic<int> violations{0};
    std::atomic<int> deliveries{0};

    void NotifyFeatureChange(const FeaturePtr &feature) override
    {
        if (!registered.load())
            ++violations;
        // Read the feature back, as a real observer does, from the notification thread.
        std::string text;
        bool flag = false;
        feature->GetName(text);
        feature->IsWritable(flag);
        // Still inside the delivery: an unregistering thread must be waiting for us.
        if (!registered.load())
            ++violations;
        ++deliveries;
    }
};

/// Unregisters itself from inside its first notification.
class SelfRemovingObserver : public IFeatureObserver
{
public:
    IFeatureObserverPtr self;
    std::atomic<int> result{1};
    std::atomic<int> deliveries{0};

    void NotifyFeatureChange(const FeaturePtr &feature) override
    {
        ++deliveries;
        IFeatureObserverPtr keep = self;
        self.reset();
        if (keep)
            result = feature->UnregisterObserver(keep);
    }
};

QStringList sorted(QStringList names)
{
    names.removeDuplicates();
    names.sort();
    return names;
}

} // namespace

class tst_NotificationDispatcher : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void deliversOnTheLibraryThread();
    void changeNotifies_data();
    void changeNotifies();
    void acquisitionNotifiesLockedFeatures();
    void registrationErrors();
    void unregisterWaitsForRunningDelivery();
    void unregisterFromInsideANotification();
    void onlyObserversRegisteredThroughoutHearOfAChange();
    void pendingNotificationsOfAClosedCamera();
    void concurrentChangesAndRegistrations();

private:
    std::shared_ptr<OrvSim::Camera> m_Camera;
};

void tst_NotificationDispatcher::init()
{
    m_Camera = TestCamera::load("exposure-mode.json");
    QVERIFY(m_Camera);
}

void tst_NotificationDispatcher::cleanup()
{
    OrvSim::Camera::waitForNotifications();
    m_Camera.reset();
}

void tst_NotificationDispatcher::deliversOnTheLibraryThread()
{
    const std::shared_ptr<OrvSim::Camera> second = TestCamera::load("syncout.json");
    RecordingObserver *recorder = new RecordingObserver;
    const IFeatureObserverPtr observer(recorder);
    QCOMPARE(m_Camera->feature("TriggerMode")->RegisterObserver(observer), OrvErrSuccess);
    QCOMPARE(second->feature("SyncOutLevels")->RegisterObserver(observer), OrvErrSuccess);

    QCOMPARE(m_Camera->feature("TriggerMode")->SetValue("On"), OrvErrSuccess);
    std::thread([&] { second->setFromCamera("SyncOutLevels", "5"); }).join();
    OrvSim::Camera::waitForNotifications();

    QCOMPARE(recorder->names(), (QStringList{"TriggerMode", "SyncOutLevels"}));
    const std::vector<std::thread::id> threads = recorder->threads();
    QVERIFY(threads[0] != std::this_thread::get_id());
    QVERIFY(threads[0] == threads[1]);
    // The observer's own reads are marked as coming from the notification thread.
    bool readFromNotificationThread = false;
    for (const OrvSim::JournalEntry &entry : m_Camera->journal())
        if (entry.operation == OrvSim::Operation::GetName)
            readFromNotificationThread |= entry.fromNotificationThread;
    QVERIFY(readFromNotificationThread);
    QCOMPARE(q(m_Camera->writes()), QStringList{"TriggerMode=On"});

    m_Camera->feature("TriggerMode")->UnregisterObserver(observer);
    second->feature("SyncOutLevels")->UnregisterObserver(observer);
}

void tst_NotificationDispatcher::changeNotifies_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("notified");

    const QString em = "exposure-mode.json";
    QTest::newRow("write") << em << QStringList() << "TriggerActivation=FallingEdge" << QStringList{"TriggerActivation"};
    QTest::newRow("write of the same value") << em << QStringList() << "TriggerMode=Off" << QStringList{"TriggerMode"};
    QTest::newRow("trigger selector")
        << em << QStringList() << "TriggerSelector=AcquisitionStart"
        << QStringList{"TriggerActivation", "TriggerMode", "TriggerSelector", "TriggerSource"};
    QTest::newRow("line selector")
        << em << QStringList() << "LineSelector=Line3"
        << QStringList{"LineInverter", "LineMode", "LineSelector", "LineSource", "LineStatus", "TriggerSource"};
    QTest::newRow("user output selector")
        << em << QStringList() << "UserOutputSelector=UserOutput3" << QStringList{"UserOutputSelector", "UserOutputValue"};
    QTest::newRow("line mode invalidates source, status and trigger source")
        << em << QStringList{"LineSelector=Line4"} << "LineMode=Output"
        << QStringList{"LineMode", "LineSource", "LineStatus", "TriggerSource"};
    QTest::newRow("line source invalidates status")
        << em << QStringList{"LineSelector=Line3"} << "LineSource=Direct" << QStringList{"LineSource", "LineStatus"};
    QTest::newRow("exposure mode invalidates exposure time")
        << em << QStringList() << "ExposureMode=TriggerWidth" << QStringList{"ExposureMode", "ExposureTime"};
    QTest::newRow("camera-side level change") << em << QStringList() << "camera:LineStatus=true" << QStringList{"LineStatus"};
    QTest::newRow("camera-side selector change")
        << "syncout.json" << QStringList() << "camera:SyncOutSelector=SyncOut3"
        << QStringList{"SyncOutPolarity", "SyncOutSelector", "SyncOutSource"};
    QTest::newRow("routing camera line selector")
        << "line-routing.json" << QStringList() << "LineSelector=Line1"
        << QStringList{"LineInverter", "LineMode", "LineRouting", "LineSelector", "LineSource", "LineStatus"};
}

void tst_NotificationDispatcher::changeNotifies()
{
    QFETCH(QString, file);
    QFETCH(QStringList, setup);
    QFETCH(QString, change);
    QFETCH(QStringList, notified);

    const std::shared_ptr<OrvSim::Camera> camera = TestCamera::load(file.toUtf8().constData());
    for (const QString &assignment : setup) {
        const QByteArray name = assignment.section('=', 0, 0).toUtf8();
        QCOMPARE(camera->feature(name.constData())->SetValue(assignment.section('=', 1).toUtf8().constData()),
                 OrvErrSuccess);
    }
    OrvSim::Camera::waitForNotifications();

    RecordingObserver *recorder = new RecordingObserver;
    const IFeatureObserverPtr observer(recorder);
    for (const FeaturePtr &feature : camera->features())
        QCOMPARE(feature->RegisterObserver(observer), OrvErrSuccess);

    const bool fromCamera = change.startsWith("camera:");
    const QString assignment = fromCamera ? change.mid(7) : change;
    const std::string name = assignment.section('=', 0, 0).toStdString();
    const std::string value = assignment.section('=', 1).toStdString();
    if (fromCamera) {
        QCOMPARE(camera->setFromCamera(name, value), OrvErrSuccess);
    } else {
        QCOMPARE(camera->feature(name)->SetValue(value.c_str()), OrvErrSuccess);
    }
    OrvSim::Camera::waitForNotifications();
    QCOMPARE(sorted(recorder->names()), notified);
    QCOMPARE(recorder->names().size(), notified.size());

    for (const FeaturePtr &feature : camera->features())
        QCOMPARE(feature->UnregisterObserver(observer), OrvErrSuccess);
}

void tst_NotificationDispatcher::acquisitionNotifiesLockedFeatures()
{
    RecordingObserver *recorder = new RecordingObserver;
    const IFeatureObserverPtr observer(recorder);
    for (const FeaturePtr &feature : m_Camera->features())
        QCOMPARE(feature->RegisterObserver(observer), OrvErrSuccess);

    QCOMPARE(m_Camera->feature("AcquisitionStart")->RunCommand(), OrvErrSuccess);
    OrvSim::Camera::waitForNotifications();
    const QStringList locked = {"AcquisitionFrameCount", "AcquisitionMode", "AcquisitionStart", "ExposureMode", "Height",
                                "PixelFormat", "TriggerActivation", "TriggerMode", "TriggerSelector", "TriggerSource",
                                "Width"};
    QCOMPARE(sorted(recorder->names()), locked);

    // Starting again changes nothing that could be locked.
    recorder->clear();
    QCOMPARE(m_Camera->feature("AcquisitionStart")->RunCommand(), OrvErrSuccess);
    OrvSim::Camera::waitForNotifications();
    QCOMPARE(recorder->names(), QStringList{"AcquisitionStart"});

    recorder->clear();
    QCOMPARE(m_Camera->feature("AcquisitionStop")->RunCommand(), OrvErrSuccess);
    OrvSim::Camera::waitForNotifications();
    QStringList unlocked = locked;
    unlocked.replaceInStrings("AcquisitionStart", "AcquisitionStop");
    QCOMPARE(sorted(recorder->names()), sorted(unlocked));

    for (const FeaturePtr &feature : m_Camera->features())
        feature->UnregisterObserver(observer);
}

void tst_NotificationDispatcher::registrationErrors()
{
    const FeaturePtr mode = m_Camera->feature("TriggerMode");
    const IFeatureObserverPtr observer(new RecordingObserver);
    const IFeatureObserverPtr other(new RecordingObserver);

    QCOMPARE(mode->RegisterObserver(observer), OrvErrSuccess);
    QCOMPARE(mode->RegisterObserver(observer), OrvErrAlreadyRegistered);
    QCOMPARE(m_Camera->feature("TriggerSource")->RegisterObserver(observer), OrvErrSuccess);
    QCOMPARE(mode->UnregisterObserver(other), OrvErrNotFound);
    QCOMPARE(mode->RegisterObserver(IFeatureObserverPtr()), OrvErrBadParameter);
    QCOMPARE(mode->UnregisterObserver(observer), OrvErrSuccess);
    QCOMPARE(mode->UnregisterObserver(observer), OrvErrNotFound);
    QCOMPARE(m_Camera->feature("TriggerSource")->UnregisterObserver(observer), OrvErrSuccess);
    // The library keeps no reference once unregistered.
    QCOMPARE(observer.use_count(), 1L);

    const QStringList expected = {
        "RegisterObserver TriggerMode", "RegisterObserver TriggerMode -> -9", "RegisterObserver TriggerSource",
        "UnregisterObserver TriggerMode -> -3", "RegisterObserver TriggerMode -> -4", "UnregisterObserver TriggerMode",
        "UnregisterObserver TriggerMode -> -3", "UnregisterObserver TriggerSource"};
    QCOMPARE(journalTexts(*m_Camera), expected);
}

void tst_NotificationDispatcher::unregisterWaitsForRunningDelivery()
{
    const FeaturePtr mode = m_Camera->feature("TriggerMode");
    BlockingObserver *blocker = new BlockingObserver;
    const IFeatureObserverPtr observer(blocker);
    const ReleaseOnExit releaseOnExit(blocker);
    QCOMPARE(mode->RegisterObserver(observer), OrvErrSuccess);
    QCOMPARE(mode->SetValue("On"), OrvErrSuccess);
    blocker->waitUntilEntered();

    std::future<OrvErrorType> unregistered = std::async(std::launch::async, [&] {
        const OrvErrorType err = mode->UnregisterObserver(observer);
        // Whatever the timing, the delivery must be over by now.
        return blocker->running() ? OrvErrInternalFault : err;
    });
    const std::future_status beforeRelease = unregistered.wait_for(std::chrono::milliseconds(100));
    blocker->release();
    QCOMPARE(beforeRelease, std::future_status::timeout);
    QCOMPARE(unregistered.get(), OrvErrSuccess);
    QCOMPARE(blocker->deliveries(), 1);

    QCOMPARE(mode->SetValue("Off"), OrvErrSuccess);
    OrvSim::Camera::waitForNotifications();
    QCOMPARE(blocker->deliveries(), 1);
}

void tst_NotificationDispatcher::unregisterFromInsideANotification()
{
    const FeaturePtr mode = m_Camera->feature("TriggerMode");
    SelfRemovingObserver *remover = new SelfRemovingObserver;
    const IFeatureObserverPtr observer(remover);
    remover->self = observer;
    QCOMPARE(mode->RegisterObserver(observer), OrvErrSuccess);

    QCOMPARE(mode->SetValue("On"), OrvErrSuccess);
    QCOMPARE(mode->SetValue("Off"), OrvErrSuccess);
    OrvSim::Camera::waitForNotifications();
    QCOMPARE(remover->result.load(), int(OrvErrSuccess));
    QCOMPARE(remover->deliveries.load(), 1);
}

void tst_NotificationDispatcher::onlyObserversRegisteredThroughoutHearOfAChange()
{
    const FeaturePtr mode = m_Camera->feature("TriggerMode");
    const FeaturePtr source = m_Camera->feature("TriggerSource");
    BlockingObserver *blocker = new BlockingObserver;
    const IFeatureObserverPtr blocking(blocker);
    const ReleaseOnExit releaseOnExit(blocker);
    RecordingObserver *early = new RecordingObserver;
    RecordingObserver *late = new RecordingObserver;
    const IFeatureObserverPtr earlyObserver(early);
    const IFeatureObserverPtr lateObserver(late);

    QCOMPARE(mode->RegisterObserver(blocking), OrvErrSuccess);
    QCOMPARE(source->RegisterObserver(earlyObserver), OrvErrSuccess);
    QCOMPARE(mode->SetValue("On"), OrvErrSuccess);
    blocker->waitUntilEntered();
    // Queued while the notification thread is busy: the early observer leaves
    // before delivery, the late one arrives after the change.
    QCOMPARE(source->SetValue("Line1"), OrvErrSuccess);
    QCOMPARE(source->UnregisterObserver(earlyObserver), OrvErrSuccess);
    QCOMPARE(source->RegisterObserver(lateObserver), OrvErrSuccess);
    // A client that unregisters around its own write and registers again
    // straight after is not told of that write later.
    QCOMPARE(source->UnregisterObserver(lateObserver), OrvErrSuccess);
    QCOMPARE(source->SetValue("Line2"), OrvErrSuccess);
    QCOMPARE(source->RegisterObserver(lateObserver), OrvErrSuccess);
    QCOMPARE(source->SetValue("Line3"), OrvErrSuccess);
    blocker->release();
    OrvSim::Camera::waitForNotifications();

    QCOMPARE(early->names(), QStringList());
    QCOMPARE(late->names(), QStringList{"TriggerSource"});
    mode->UnregisterObserver(blocking);
    source->UnregisterObserver(lateObserver);
}

void tst_NotificationDispatcher::pendingNotificationsOfAClosedCamera()
{
    std::shared_ptr<OrvSim::Camera> other = TestCamera::load("lineout.json");
    const FeaturePtr mode = m_Camera->feature("TriggerMode");
    BlockingObserver *blocker = new BlockingObserver;
    const IFeatureObserverPtr blocking(blocker);
    const ReleaseOnExit releaseOnExit(blocker);
    RecordingObserver *recorder = new RecordingObserver;
    const IFeatureObserverPtr observer(recorder);
    QCOMPARE(mode->RegisterObserver(blocking), OrvErrSuccess);
    QCOMPARE(other->feature("LineOutLevels")->RegisterObserver(observer), OrvErrSuccess);

    QCOMPARE(mode->SetValue("On"), OrvErrSuccess);
    blocker->waitUntilEntered();
    QCOMPARE(other->setFromCamera("LineOutLevels", "3"), OrvErrSuccess);
    std::weak_ptr<OrvSim::Camera> watch = other;
    QVERIFY(watch.lock());
    // The queue holds the feature, not the camera: closing it must not wait or crash.
    other.reset();
    QVERIFY(watch.expired());
    blocker->release();
    OrvSim::Camera::waitForNotifications();

    QCOMPARE(recorder->names(), QStringList());
    // Closing the camera let go of its observers.
    QCOMPARE(observer.use_count(), 1L);
    mode->UnregisterObserver(blocking);
}

void tst_NotificationDispatcher::concurrentChangesAndRegistrations()
{
    const std::vector<std::string> names = {"LineStatus", "UserOutputValue", "Width", "TriggerMode", "LineSelector"};
    const std::vector<std::string> values = {"true", "true", "1024", "On", "Line3"};
    const int rounds = 300;
    std::atomic<bool> failed{false};

    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < rounds; ++i) {
                const std::size_t k = (t + i) % names.size();
                if (m_Camera->setFromCamera(names[k], i % 2 ? values[k] : m_Camera->valueOf(names[k])) != OrvErrSuccess)
                    failed = true;
            }
        });
    }
    for (int t = 0; t < 2; ++t) {
        GuardedObserver *guarded = new GuardedObserver;
        const IFeatureObserverPtr observer(guarded);
        threads.emplace_back([&, observer, guarded, t] {
            for (int i = 0; i < rounds; ++i) {
                const FeaturePtr feature = m_Camera->feature(names[(t + i) % names.size()]);
                guarded->registered = true;
                if (feature->RegisterObserver(observer) != OrvErrSuccess)
                    failed = true;
                if (feature->UnregisterObserver(observer) != OrvErrSuccess)
                    failed = true;
                guarded->registered = false;
            }
            if (guarded->violations.load() != 0)
                failed = true;
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    OrvSim::Camera::waitForNotifications();
    QVERIFY(!failed.load());
}

QTEST_APPLESS_MAIN(tst_NotificationDispatcher)
#include "tst_notificationdispatcher.moc"
