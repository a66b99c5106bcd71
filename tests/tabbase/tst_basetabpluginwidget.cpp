#include <basetabpluginwidget.h>
#include <pluginlog.h>

#include <OrvikSim.h>
#include <testcamera.h>

#include <QLoggingCategory>
#include <QMutex>
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

const QStringList s_Observed{"TriggerMode", "LineStatus", "NotOnThisCamera"};

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
        ObservedFeatureNames = s_Observed;
        if (registerAtConstruction)
            RegisterFeatureObservers(true);
    }

    QStringList changed() const { return *ChangedFeatureList; }
    QTimer *timer() const { return RefreshTimer; }
    void tick() { updateTimer(); }
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

private slots:
    void init();
    void cleanup();

    void construction();
    void hostMessagesUntouched();
    void neverShownNeverRefreshes();
    void reportsQueuedOncePerName();
    void showRefreshesAtOnce();
    void tickUnregistersRefreshesAndRegisters();
    void hideClearsStopsAndUnregisters();
    void unobservedFeaturesNeverRegistered();
    void destructionUnregisters();
    void emptyFeatureList_data();
    void emptyFeatureList();
    void destroyedWhileNotificationsInFlight();

private:
    QStringList calls(Operation operation) const;
    void settle();

    std::shared_ptr<OrvSim::Camera> m_Camera;
    CameraFeatureList m_List;
};

void tst_BaseTabPluginWidget::init()
{
    m_Camera = OrvSim::Camera::fromJson(s_CameraJson, "base-test");
    m_List = TestCamera::featureList(*m_Camera);
    s_Messages.clear();
}

void tst_BaseTabPluginWidget::cleanup()
{
    m_List.reset();
    m_Camera.reset();
}

QStringList tst_BaseTabPluginWidget::calls(Operation operation) const
{
    QStringList names;
    for (const OrvSim::JournalEntry &entry : m_Camera->journal()) {
        if (entry.operation == operation && !entry.fromNotificationThread)
            names << QString::fromStdString(entry.feature);
    }
    return names;
}

// Lets every notification the camera has queued reach the page.
void tst_BaseTabPluginWidget::settle()
{
    OrvSim::Camera::waitForNotifications();
    QCoreApplication::processEvents();
}

void tst_BaseTabPluginWidget::construction()
{
    TestPage page(m_List, false);
    const QString styleSheet = page.styleSheet();
    QCOMPARE(styleSheet.size(), 220);
    QCOMPARE(styleSheet,
             QString("QPushButton:disabled, QLineEdit:disabled, QComboBox:disabled, QDoubleSpinBox:disabled,")
                 + QString(44, QLatin1Char(' '))
                 + "QSpinBox:disabled, QwtSlider:disabled, QGroupBox:disabled, QLabel:disabled { color: gray }");
    QCOMPARE(page.focusPolicy(), Qt::StrongFocus);
    QVERIFY(!page.timer()->isActive());
    QCOMPARE(page.changed(), QStringList());
    QVERIFY(calls(Operation::RegisterObserver).isEmpty());
}

void tst_BaseTabPluginWidget::hostMessagesUntouched()
{
    const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
    {
        TestPage page(CameraFeatureList(new FeatureVector), true);
        qDebug("host message");
        page.registerObservers(false);
        QLoggingCategory::setFilterRules(QStringLiteral("orvik.tabextension.debug=true"));
        page.registerObservers(false);
        page.unregisterObservers();
        QLoggingCategory::setFilterRules(QString());
    }
    const QtMessageHandler ours = qInstallMessageHandler(previous);
    QVERIFY(ours == &captureMessage);
    // The page's own lines stay silent unless their category is switched on.
    QCOMPARE(s_Messages, QStringList({"host message", "Could not get features. Error code:  -3",
                                      "Could not get features. Error code:  -3"}));
}

void tst_BaseTabPluginWidget::neverShownNeverRefreshes()
{
    TestPage page(m_List, true);
    QCOMPARE(page.changed(), QStringList({"TriggerMode", "LineStatus"}));
    QCOMPARE(m_Camera->setFromCamera("LineStatus", "true"), TKN::OrvAPI::OrvErrSuccess);
    settle();
    QVERIFY(!page.timer()->isActive());
    QVERIFY(page.refreshes.isEmpty());
}

void tst_BaseTabPluginWidget::reportsQueuedOncePerName()
{
    TestPage page(m_List, false);
    page.registerObservers(false);
    QCOMPARE(m_Camera->setFromCamera("LineStatus", "true"), TKN::OrvAPI::OrvErrSuccess);
    QCOMPARE(m_Camera->setFromCamera("TriggerMode", "On"), TKN::OrvAPI::OrvErrSuccess);
    QCOMPARE(m_Camera->setFromCamera("LineStatus", "false"), TKN::OrvAPI::OrvErrSuccess);
    QCOMPARE(m_Camera->setFromCamera("Gain", "5"), TKN::OrvAPI::OrvErrSuccess);
    OrvSim::Camera::waitForNotifications();
    QTRY_COMPARE(page.changed(), QStringList({"LineStatus", "TriggerMode"}));
    settle();
    QCOMPARE(page.changed(), QStringList({"LineStatus", "TriggerMode"}));
}

void tst_BaseTabPluginWidget::showRefreshesAtOnce()
{
    TestPage page(m_List, true);
    m_Camera->clearJournal();
    page.show();

    // Queued at construction and again at the first show; the list is not
    // cleared by showing.
    const QStringList twice{"TriggerMode", "LineStatus", "TriggerMode", "LineStatus"};
    QCOMPARE(page.refreshes, QList<QStringList>{twice});
    QVERIFY(page.mutexHeldInEveryRefresh);
    QVERIFY(page.timer()->isActive());
    QCOMPARE(page.timer()->interval(), 1000);
    QCOMPARE(calls(Operation::RegisterObserver), QStringList({"TriggerMode", "LineStatus"}));

    QCOMPARE(m_Camera->setFromCamera("Gain", "9"), TKN::OrvAPI::OrvErrSuccess);
    settle();
    QTRY_COMPARE_WITH_TIMEOUT(page.refreshes.size(), 2, 3000);
    QCOMPARE(page.refreshes.at(1), twice);
    QCOMPARE(page.changed(), QStringList());
    QVERIFY(page.mutexHeldInEveryRefresh);
}

void tst_BaseTabPluginWidget::tickUnregistersRefreshesAndRegisters()
{
    TestPage page(m_List, true);
    QCOMPARE(m_Camera->setFromCamera("TriggerMode", "On"), TKN::OrvAPI::OrvErrSuccess);
    settle();
    m_Camera->clearJournal();

    QStringList unregisteredBeforeRefresh;
    QStringList registeredBeforeRefresh;
    page.onRefresh = [&] {
        unregisteredBeforeRefresh = calls(Operation::UnregisterObserver);
        registeredBeforeRefresh = calls(Operation::RegisterObserver);
    };
    page.tick();

    QCOMPARE(page.refreshes, QList<QStringList>{QStringList({"TriggerMode", "LineStatus"})});
    QCOMPARE(unregisteredBeforeRefresh, QStringList({"TriggerMode", "LineStatus"}));
    QCOMPARE(registeredBeforeRefresh, QStringList());
    QCOMPARE(calls(Operation::RegisterObserver), QStringList({"TriggerMode", "LineStatus"}));
    QCOMPARE(page.changed(), QStringList());
    QVERIFY(page.mutexHeldInEveryRefresh);

    // Registered again: the next change is reported.
    QCOMPARE(m_Camera->setFromCamera("LineStatus", "true"), TKN::OrvAPI::OrvErrSuccess);
    OrvSim::Camera::waitForNotifications();
    QTRY_COMPARE(page.changed(), QStringList{"LineStatus"});
}

void tst_BaseTabPluginWidget::hideClearsStopsAndUnregisters()
{
    TestPage page(m_List, true);
    page.show();
    QCOMPARE(m_Camera->setFromCamera("TriggerMode", "On"), TKN::OrvAPI::OrvErrSuccess);
    settle();
    QVERIFY(!page.changed().isEmpty());
    m_Camera->clearJournal();
    const int refreshesBeforeHide = page.refreshes.size();

    page.hide();
    QVERIFY(!page.timer()->isActive());
    QCOMPARE(page.changed(), QStringList());
    QCOMPARE(calls(Operation::UnregisterObserver), QStringList({"TriggerMode", "LineStatus"}));

    QCOMPARE(m_Camera->setFromCamera("TriggerMode", "Off"), TKN::OrvAPI::OrvErrSuccess);
    settle();
    QCOMPARE(page.changed(), QStringList());
    QCOMPARE(page.refreshes.size(), refreshesBeforeHide);

    page.show();
    QCOMPARE(page.refreshes.size(), refreshesBeforeHide + 1);
    QCOMPARE(page.refreshes.last(), QStringList({"TriggerMode", "LineStatus"}));
}

void tst_BaseTabPluginWidget::unobservedFeaturesNeverRegistered()
{
    {
        TestPage page(m_List, true);
        page.show();
        page.tick();
        page.hide();
    }
    QCOMPARE(calls(Operation::RegisterObserver).filter("Gain"), QStringList());
    QCOMPARE(calls(Operation::UnregisterObserver).filter("Gain"), QStringList());
}

void tst_BaseTabPluginWidget::destructionUnregisters()
{
    auto page = std::make_unique<TestPage>(m_List, true);
    page->show();
    m_Camera->clearJournal();
    page.reset();
    QCOMPARE(calls(Operation::UnregisterObserver), QStringList({"TriggerMode", "LineStatus"}));

    QCOMPARE(m_Camera->setFromCamera("TriggerMode", "On"), TKN::OrvAPI::OrvErrSuccess);
    settle();
    for (const OrvSim::JournalEntry &entry : m_Camera->journal())
        QVERIFY2(!entry.fromNotificationThread, entry.text().c_str());
}

void tst_BaseTabPluginWidget::emptyFeatureList_data()
{
    QTest::addColumn<bool>("null");
    QTest::newRow("empty vector") << false;
    QTest::newRow("null list") << true;
}

void tst_BaseTabPluginWidget::emptyFeatureList()
{
    QFETCH(bool, null);
    {
        TestPage page(null ? CameraFeatureList() : CameraFeatureList(new FeatureVector), true);
        page.show();
        page.tick();
        page.hide();
        page.show();
        QCOMPARE(page.refreshes, QList<QStringList>({QStringList(), QStringList(), QStringList()}));
    }
}

void tst_BaseTabPluginWidget::destroyedWhileNotificationsInFlight()
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

    int refreshes = 0;
    for (int round = 0; round < 40; ++round) {
        auto page = std::make_unique<TestPage>(m_List, true);
        page->show();
        QCoreApplication::processEvents();
        page->tick();
        QCoreApplication::processEvents();
        refreshes += page->refreshes.size();
        if (round % 2)
            page->hide();
        page.reset();
        QCoreApplication::processEvents();
    }
    stop = true;
    changer.join();
    settle();
    // Show and one tick per round; the timer may add more on a slow machine.
    QVERIFY(refreshes >= 80);
}

QTEST_MAIN(tst_BaseTabPluginWidget)
#include "tst_basetabpluginwidget.moc"
