// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include <basetabpluginwidget.h>
#include <pluginlog.h>

#include <OrvikSim.h>
#include <testcamera.h>

#include <QLoggingCategory>
#include <QMutex>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

using OrvSim::Operation;

namespace {

const char s_CameraJson[] = R"({
    "name": "Base test camera",
    "description": "two observed features and one that is not",
    "features": [
        { "name": "TriggerMode", "type": "Enumeration", "entries": ["Off", "On"], "value": "Off" },
        { "name": "Gain", "type": "Integer", "value": 0, "min": 0, "max": 100, "inc": 1 },
        { "name": "LineStatus", "type": "Boolean", "value": false, "writable": false }
    ]
})";

const QStringList s_Both{"TriggerMode", "LineStatus"};

QStringList s_Messages;

void captureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    s_Messages << message;
}

/// A page that records what the base hands it.
class TestPage : public BaseTabPluginWidget
{
public:
    TestPage(const CameraFeatureList &features, bool registerAtConstruction)
        : BaseTabPluginWidget(features, nullptr)
    {
        ObservedFeatureNames = QStringList{"TriggerMode", "LineStatus", "NotOnThisCamera"};
        if (registerAtConstruction)
            RegisterFeatureObservers(true);
    }

    QStringList changed() const { return *ChangedFeatureList; }
    QTimer *timer() const { return RefreshTimer; }
    void tick() { updateTimer(); }
    QObject *observer() const { return dynamic_cast<QObject *>(FeatureObserver.get()); }
    void registerObservers(bool markChanged) { RegisterFeatureObservers(markChanged); }
    void unregisterObservers() { UnregisterFeatureObservers(); }

    QList<QStringList> refreshes;
    bool mutexHeldInEveryRefresh = true;
    std::function<void()> onRefresh;

protected:
    void RefreshChangedFeatures() override
    {
        refreshes << *ChangedFeatureList;
        // Non-recursive: a held mutex cannot be taken again, even by this thread.
        if (WidgetMutex->tryLock()) {
            WidgetMutex->unlock();
            mutexHeldInEveryRefresh = false;
        }
        if (onRefresh)
            onRefresh();
    }
};

} // namespace

class tst_BaseTabPluginWidget : public QObject
{
    Q_OBJECT

    std::shared_ptr<OrvSim::Camera> m_Camera;
    CameraFeatureList m_List;

    /// Observer (un)registrations the page made, by feature name.
    QStringList calls(Operation operation) const
    {
        QStringList names;
        for (const OrvSim::JournalEntry &entry : m_Camera->journal()) {
            if (entry.operation == operation && !entry.fromNotificationThread)
                names << QString::fromStdString(entry.feature);
        }
        return names;
    }

    /// Changes a value on the camera's side and lets every notification reach the page.
    void change(const char *feature, const char *value)
    {
        QCOMPARE(m_Camera->setFromCamera(feature, value), TKN::OrvAPI::OrvErrSuccess);
        OrvSim::Camera::waitForNotifications();
        QCoreApplication::processEvents();
    }

private slots:
    void init()
    {
        m_Camera = OrvSim::Camera::fromJson(s_CameraJson, "base-test");
        m_List = TestCamera::featureList(*m_Camera);
        s_Messages.clear();
    }

    void cleanup()
    {
        m_List.reset();
        m_Camera.reset();
    }

    // The page installs no process-wide message handler; its own lines go
    // through a category that stays silent unless switched on.
    void hostMessagesUntouched()
    {
        const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
        {
            TestPage page(CameraFeatureList(new FeatureVector), true);
            qDebug("host message");
            QLoggingCategory::setFilterRules(QStringLiteral("orvik.tabextension.debug=true"));
            page.unregisterObservers();
            QLoggingCategory::setFilterRules(QString());
        }
        QVERIFY(qInstallMessageHandler(previous) == &captureMessage);
        QCOMPARE(s_Messages, QStringList({"host message", "Could not get features. Error code:  -3"}));
    }

    // Reports are queued once per name and never refreshed on a page never shown.
    void neverShownQueuesOncePerName()
    {
        TestPage page(m_List, false);
        page.registerObservers(false);
        QCOMPARE(m_Camera->setFromCamera("LineStatus", "true"), TKN::OrvAPI::OrvErrSuccess);
        QCOMPARE(m_Camera->setFromCamera("TriggerMode", "On"), TKN::OrvAPI::OrvErrSuccess);
        QCOMPARE(m_Camera->setFromCamera("LineStatus", "false"), TKN::OrvAPI::OrvErrSuccess);
        change("Gain", "5");
        QTRY_COMPARE(page.changed(), QStringList({"LineStatus", "TriggerMode"}));
        QVERIFY(!page.timer()->isActive());
        QVERIFY(page.refreshes.isEmpty());
    }

    void tickShowHideDestroy()
    {
        auto owner = std::make_unique<TestPage>(m_List, true);
        TestPage &page = *owner;
        m_Camera->clearJournal();

        // Tick: unregister, refresh, register again, clear.
        QStringList unregisteredBefore, registeredBefore;
        page.onRefresh = [&] {
            unregisteredBefore = calls(Operation::UnregisterObserver);
            registeredBefore = calls(Operation::RegisterObserver);
        };
        page.tick();
        QCOMPARE(page.refreshes, QList<QStringList>{s_Both});
        QCOMPARE(unregisteredBefore, s_Both);
        QCOMPARE(registeredBefore, QStringList());
        QCOMPARE(calls(Operation::RegisterObserver), s_Both);
        QCOMPARE(page.changed(), QStringList());
        change("LineStatus", "true");
        QCOMPARE(page.changed(), QStringList{"LineStatus"});

        // Show: queued again without clearing, refreshed at once, then by the timer.
        m_Camera->clearJournal();
        page.show();
        QCOMPARE(page.refreshes.last(), QStringList{"LineStatus"} + s_Both);
        QCOMPARE(calls(Operation::RegisterObserver), s_Both);
        QVERIFY(page.timer()->isActive());
        QCOMPARE(page.timer()->interval(), 1000);
        QTRY_COMPARE_WITH_TIMEOUT(page.refreshes.size(), 3, 3000);
        QCOMPARE(page.changed(), QStringList());

        // Hide: stop, clear, unregister; nothing arrives until shown again.
        change("TriggerMode", "On");
        QCOMPARE(page.changed(), QStringList{"TriggerMode"});
        m_Camera->clearJournal();
        page.hide();
        QVERIFY(!page.timer()->isActive());
        QCOMPARE(page.changed(), QStringList());
        QCOMPARE(calls(Operation::UnregisterObserver), s_Both);
        change("TriggerMode", "Off");
        QCOMPARE(page.changed(), QStringList());
        QCOMPARE(page.refreshes.size(), 3);
        page.show();
        QCOMPARE(page.refreshes.size(), 4);
        QCOMPARE(page.refreshes.last(), s_Both);
        QVERIFY(page.mutexHeldInEveryRefresh);

        // Destroyed while shown: unregistered, so no change reaches it afterwards.
        m_Camera->clearJournal();
        owner.reset();
        QCOMPARE(calls(Operation::UnregisterObserver), s_Both);
        change("TriggerMode", "On");
        for (const OrvSim::JournalEntry &entry : m_Camera->journal())
            QVERIFY2(!entry.fromNotificationThread, entry.text().c_str());
    }

    void emptyFeatureList()
    {
        for (const CameraFeatureList &list : {CameraFeatureList(), CameraFeatureList(new FeatureVector)}) {
            TestPage page(list, true);
            page.show();
            page.tick();
            page.hide();
            page.show();
            QCOMPARE(page.refreshes, QList<QStringList>({QStringList(), QStringList(), QStringList()}));
        }
    }

    void destroyedWhileNotificationsInFlight()
    {
        std::atomic<bool> stop(false);
        std::shared_ptr<OrvSim::Camera> camera = m_Camera;
        std::thread changer([camera, &stop] {
            bool on = false;
            while (!stop.load()) {
                on = !on;
                camera->setFromCamera("TriggerMode", on ? "On" : "Off");
                camera->setFromCamera("LineStatus", on ? "true" : "false");
                std::this_thread::yield();
            }
        });

        // Once a page is gone the library holds its observer no more: every
        // registration was undone, none is left to deliver to a dead page.
        QList<QPointer<QObject>> observers;
        for (int round = 0; round < 40; ++round) {
            auto page = std::make_unique<TestPage>(m_List, true);
            observers << page->observer();
            QVERIFY(observers.last());
            page->show();
            QCoreApplication::processEvents();
            page->tick();
            QCoreApplication::processEvents();
            if (round % 2)
                page->hide();
            page.reset();
            QCoreApplication::processEvents();
        }
        stop = true;
        changer.join();
        OrvSim::Camera::waitForNotifications();
        QCoreApplication::processEvents();
        for (const QPointer<QObject> &observer : observers)
            QVERIFY(observer.isNull());
    }
};

QTEST_MAIN(tst_BaseTabPluginWidget)
#include "tst_basetabpluginwidget.moc"
