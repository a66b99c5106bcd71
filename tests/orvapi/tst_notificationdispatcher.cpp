// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// Change notifications: the library's own thread, what each change reports, and
// the guarantees of UnregisterObserver.
#include "orvapitest.h"

#include <QtTest>

#include <algorithm>
#include <atomic>
#include <future>

using namespace OrvapiTest;

namespace {

/// Notices a delivery that arrives while its owner considers it unregistered.
class GuardedObserver : public IFeatureObserver
{
public:
    std::atomic<bool> registered{false};
    std::atomic<int> violations{0};

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

} // namespace

class tst_NotificationDispatcher : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void changeNotifies_data();
    void changeNotifies();
    void registrationErrors();
    void unregisterWaitsForRunningDelivery();
    void unregisterFromInsideANotification();
    void onlyObserversRegisteredThroughoutHearOfAChange();
    void aFeatureWaitingIsNotQueuedTwice();
    void pendingNotificationsOfAClosedCamera();
    void concurrentChangesAndRegistrations();

private:
    std::shared_ptr<OrvSim::Camera> m_Camera;
    FeaturePtr m_Mode;
    /// Registered on m_Mode by the tests that need the notification thread held.
    BlockingObserver *m_Blocker = nullptr;
    IFeatureObserverPtr m_Blocking;
};

void tst_NotificationDispatcher::init()
{
    m_Camera = TestCamera::load("exposure-mode.json");
    m_Mode = m_Camera->feature("TriggerMode");
    m_Blocker = new BlockingObserver;
    m_Blocking = IFeatureObserverPtr(m_Blocker);
}

void tst_NotificationDispatcher::cleanup()
{
    // Released even when a check failed, so the next test finds the thread free.
    m_Blocker->release();
    OrvSim::Camera::waitForNotifications();
    m_Blocking.reset();
    m_Mode.reset();
    m_Camera.reset();
}

void tst_NotificationDispatcher::changeNotifies_data()
{
    // clang-format off
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("notified");

    const QStringList locked = {"AcquisitionFrameCount", "AcquisitionMode", "ExposureMode", "Height", "PixelFormat",
                                "TriggerActivation", "TriggerMode", "TriggerSelector", "TriggerSource", "Width"};
    QTest::newRow("write") << "" << "TriggerActivation=FallingEdge" << QStringList{"TriggerActivation"};
    QTest::newRow("write of the same value") << "" << "TriggerMode=Off" << QStringList{"TriggerMode"};
    QTest::newRow("line selector") << "" << "LineSelector=Line3"
                                   << QStringList{"LineInverter", "LineMode", "LineSelector", "LineSource",
                                                  "LineStatus", "TriggerSource"};
    QTest::newRow("line mode invalidates source, status and trigger source")
        << "LineSelector=Line4" << "LineMode=Output"
        << QStringList{"LineMode", "LineSource", "LineStatus", "TriggerSource"};
    QTest::newRow("exposure mode invalidates exposure time")
        << "" << "ExposureMode=TriggerWidth" << QStringList{"ExposureMode", "ExposureTime"};
    QTest::newRow("camera-side change") << "" << "camera:LineStatus=true" << QStringList{"LineStatus"};
    QTest::newRow("acquisition start locks")
        << "" << "run:AcquisitionStart" << locked + QStringList{"AcquisitionStart"};
    QTest::newRow("acquisition stop unlocks")
        << "run:AcquisitionStart" << "run:AcquisitionStop" << locked + QStringList{"AcquisitionStop"};
    // clang-format on
}

void tst_NotificationDispatcher::changeNotifies()
{
    QFETCH(QString, steps);
    QFETCH(QString, change);
    QFETCH(QStringList, notified);

    for (const QString &step : steps.split(", ", Qt::SkipEmptyParts))
        QCOMPARE(apply(*m_Camera, step), OrvErrSuccess);
    OrvSim::Camera::waitForNotifications();
    RecordingObserver *recorder = new RecordingObserver;
    const IFeatureObserverPtr observer(recorder);
    for (const FeaturePtr &feature : m_Camera->features())
        QCOMPARE(feature->RegisterObserver(observer), OrvErrSuccess);
    m_Camera->clearJournal();

    QCOMPARE(apply(*m_Camera, change), OrvErrSuccess);
    OrvSim::Camera::waitForNotifications();
    QStringList names = recorder->names();
    names.sort();
    notified.sort();
    QCOMPARE(names, notified); // each once
    // On the library's own thread, whose calls the journal marks.
    const std::vector<std::thread::id> threads = recorder->threads();
    QVERIFY(std::count(threads.begin(), threads.end(), threads.front()) == int(threads.size()));
    QVERIFY(threads.front() != std::this_thread::get_id());
    for (const OrvSim::JournalEntry &entry : m_Camera->journal())
        QCOMPARE(entry.fromNotificationThread, entry.operation == OrvSim::Operation::GetName);
    QCOMPARE(q(m_Camera->writes()), change.contains(':') ? QStringList() : QStringList{change});
}

void tst_NotificationDispatcher::registrationErrors()
{
    const FeaturePtr source = m_Camera->feature("TriggerSource");
    const IFeatureObserverPtr observer(new RecordingObserver);

    QCOMPARE(m_Mode->RegisterObserver(observer), OrvErrSuccess);
    QCOMPARE(m_Mode->RegisterObserver(observer), OrvErrAlreadyRegistered);
    QCOMPARE(source->RegisterObserver(observer), OrvErrSuccess);
    QCOMPARE(m_Mode->UnregisterObserver(m_Blocking), OrvErrNotFound);
    QCOMPARE(m_Mode->RegisterObserver(IFeatureObserverPtr()), OrvErrBadParameter);
    QCOMPARE(m_Mode->UnregisterObserver(observer), OrvErrSuccess);
    QCOMPARE(m_Mode->UnregisterObserver(observer), OrvErrNotFound);
    QCOMPARE(source->UnregisterObserver(observer), OrvErrSuccess);
    // The library keeps no reference once unregistered.
    QCOMPARE(observer.use_count(), 1L);
}

void tst_NotificationDispatcher::unregisterWaitsForRunningDelivery()
{
    QCOMPARE(m_Mode->RegisterObserver(m_Blocking), OrvErrSuccess);
    QCOMPARE(m_Mode->SetValue("On"), OrvErrSuccess);
    m_Blocker->waitUntilEntered();

    std::future<OrvErrorType> unregistered = std::async(std::launch::async, [this] {
        const OrvErrorType err = m_Mode->UnregisterObserver(m_Blocking);
        // Whatever the timing, the delivery must be over by now.
        return m_Blocker->deliveries() == 1 ? err : OrvErrInternalFault;
    });
    const std::future_status beforeRelease = unregistered.wait_for(std::chrono::milliseconds(100));
    m_Blocker->release();
    QCOMPARE(beforeRelease, std::future_status::timeout);
    QCOMPARE(unregistered.get(), OrvErrSuccess);

    QCOMPARE(m_Mode->SetValue("Off"), OrvErrSuccess);
    OrvSim::Camera::waitForNotifications();
    QCOMPARE(m_Blocker->deliveries(), 1);
}

void tst_NotificationDispatcher::unregisterFromInsideANotification()
{
    SelfRemovingObserver *remover = new SelfRemovingObserver;
    const IFeatureObserverPtr observer(remover);
    remover->self = observer;
    QCOMPARE(m_Mode->RegisterObserver(observer), OrvErrSuccess);

    QCOMPARE(m_Mode->SetValue("On"), OrvErrSuccess);
    QCOMPARE(m_Mode->SetValue("Off"), OrvErrSuccess);
    OrvSim::Camera::waitForNotifications();
    QCOMPARE(remover->result.load(), int(OrvErrSuccess));
    QCOMPARE(remover->deliveries.load(), 1);
}

void tst_NotificationDispatcher::onlyObserversRegisteredThroughoutHearOfAChange()
{
    const FeaturePtr source = m_Camera->feature("TriggerSource");
    RecordingObserver *early = new RecordingObserver;
    RecordingObserver *late = new RecordingObserver;
    const IFeatureObserverPtr earlyObserver(early);
    const IFeatureObserverPtr lateObserver(late);

    QCOMPARE(m_Mode->RegisterObserver(m_Blocking), OrvErrSuccess);
    QCOMPARE(source->RegisterObserver(earlyObserver), OrvErrSuccess);
    QCOMPARE(m_Mode->SetValue("On"), OrvErrSuccess);
    m_Blocker->waitUntilEntered();
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
    m_Blocker->release();
    OrvSim::Camera::waitForNotifications();

    QCOMPARE(early->names(), QStringList());
    QCOMPARE(late->names(), QStringList{"TriggerSource"});
}

// Its observers read it when told: a second notification waiting would only
// repeat that read, on a link an access each.
void tst_NotificationDispatcher::aFeatureWaitingIsNotQueuedTwice()
{
    const FeaturePtr source = m_Camera->feature("TriggerSource");
    RecordingObserver *recorder = new RecordingObserver;
    const IFeatureObserverPtr observer(recorder);
    QCOMPARE(m_Mode->RegisterObserver(m_Blocking), OrvErrSuccess);
    QCOMPARE(source->RegisterObserver(observer), OrvErrSuccess);
    QCOMPARE(m_Mode->SetValue("On"), OrvErrSuccess);
    m_Blocker->waitUntilEntered();
    QCOMPARE(source->SetValue("Line1"), OrvErrSuccess);
    QCOMPARE(source->SetValue("Line2"), OrvErrSuccess);
    QCOMPARE(m_Camera->setFromCamera("TriggerSource", "Line3"), OrvErrSuccess);
    m_Blocker->release();
    OrvSim::Camera::waitForNotifications();
    QCOMPARE(recorder->names(), QStringList{"TriggerSource"});
    // Told after the last change: nothing of it is lost.
    QCOMPARE(source->SetValue("Line0"), OrvErrSuccess);
    OrvSim::Camera::waitForNotifications();
    QCOMPARE(recorder->names(), (QStringList{"TriggerSource", "TriggerSource"}));
    QCOMPARE(source->UnregisterObserver(observer), OrvErrSuccess);
}

void tst_NotificationDispatcher::pendingNotificationsOfAClosedCamera()
{
    std::shared_ptr<OrvSim::Camera> other = TestCamera::load("lineout.json");
    RecordingObserver *recorder = new RecordingObserver;
    const IFeatureObserverPtr observer(recorder);
    QCOMPARE(m_Mode->RegisterObserver(m_Blocking), OrvErrSuccess);
    QCOMPARE(other->feature("LineOutLevels")->RegisterObserver(observer), OrvErrSuccess);

    QCOMPARE(m_Mode->SetValue("On"), OrvErrSuccess);
    m_Blocker->waitUntilEntered();
    QCOMPARE(other->setFromCamera("LineOutLevels", "3"), OrvErrSuccess);
    // The queue holds the feature, not the camera: closing it must not wait or crash.
    const std::weak_ptr<OrvSim::Camera> watch = other;
    other.reset();
    QVERIFY(watch.expired());
    m_Blocker->release();
    OrvSim::Camera::waitForNotifications();

    QCOMPARE(recorder->names(), QStringList());
    // Closing the camera let go of its observers.
    QCOMPARE(observer.use_count(), 1L);
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
                if (feature->RegisterObserver(observer) != OrvErrSuccess
                    || feature->UnregisterObserver(observer) != OrvErrSuccess)
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
