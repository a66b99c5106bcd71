// The quick trigger modes: the camera state each mode leaves on each camera
// variant, the writes it must not make, and the buttons around a run.
#include <iotriggerwidget.h>
#include <testcamera.h>

#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <vector>

class tst_QuickModes : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void finalCameraState_data();
    void finalCameraState();
    void bulkFrameCountOrder_data();
    void bulkFrameCountOrder();
    void buttonsDuringAndAfterRun_data();
    void buttonsDuringAndAfterRun();
    void observersAroundRun_data();
    void observersAroundRun();
    void firstInputLine_data();
    void firstInputLine();

private:
    void loadCamera(const QString &file, const QStringList &outputLines = {});
    IOTriggerWidget *buildPage();
    void runMode(const QString &mode);

    std::shared_ptr<OrvSim::Camera> m_camera;
    std::unique_ptr<IOTriggerWidget> m_page;
};

void tst_QuickModes::init()
{
    m_page.reset();
    m_camera.reset();
}

void tst_QuickModes::cleanup()
{
    m_page.reset();
    m_camera.reset();
}

void tst_QuickModes::loadCamera(const QString &file, const QStringList &outputLines)
{
    m_camera = TestCamera::load(file.toUtf8().constData());
    for (const QString &line : outputLines)
        QCOMPARE(m_camera->setFromCamera("LineMode", "Output", line.toStdString()), TKN::OrvAPI::OrvErrSuccess);
}

IOTriggerWidget *tst_QuickModes::buildPage()
{
    m_page.reset(new IOTriggerWidget(TestCamera::featureList(*m_camera), nullptr));
    return m_page.get();
}

void tst_QuickModes::runMode(const QString &mode)
{
    const QByteArray slot = "On" + mode.toLatin1() + "Mode";
    QVERIFY(QMetaObject::invokeMethod(m_page.get(), slot.constData(), Qt::DirectConnection));
}

void tst_QuickModes::finalCameraState_data()
{
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QStringList>("outputLines");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("mode");
    // "Feature=value", or "Feature[selector entry]=value" for a selected feature.
    QTest::addColumn<QStringList>("expected");
    // Features the run must not write: their entries were absent or already current.
    QTest::addColumn<QStringList>("unwritten");

    const QStringList none;
    QTest::newRow("line routing, Edge")
        << "line-routing.json" << none << "" << "Edge"
        << QStringList{"ExposureMode=Timed", "TriggerSelector=ExposureStart", "TriggerMode[ExposureStart]=On",
                       "TriggerSource[ExposureStart]=InputLines", "TriggerActivation[ExposureStart]=FallingEdge",
                       "LineSelector=Line0", "LineRouting[Line0]=Trigger", "AcquisitionMode=Continuous"}
        << QStringList{"ExposureMode", "TriggerSource", "AcquisitionMode", "LineSelector"};
    QTest::newRow("line routing, Level")
        << "line-routing.json" << none << "" << "Level"
        << QStringList{"ExposureMode=TriggerWidth", "TriggerSelector=ExposureActive",
                       "TriggerMode[ExposureActive]=On", "TriggerMode[ExposureStart]=Off",
                       "TriggerActivation[ExposureActive]=RisingEdge", "LineRouting[Line0]=Trigger",
                       "AcquisitionMode=Continuous"}
        << QStringList{"TriggerActivation", "TriggerSource", "AcquisitionMode"};
    QTest::newRow("line routing, Bulk")
        << "line-routing.json" << none << "" << "Bulk"
        << QStringList{"ExposureMode=Timed", "TriggerSelector=AcquisitionStart",
                       "TriggerMode[AcquisitionStart]=On", "TriggerMode[ExposureStart]=Off",
                       "TriggerActivation[ExposureStart]=FallingEdge", "TriggerActivation[AcquisitionStart]=RisingEdge",
                       "LineRouting[Line0]=Trigger", "AcquisitionMode=MultiFrame", "AcquisitionFrameCount=10"}
        << QStringList{"ExposureMode", "TriggerSource"};
    QTest::newRow("line routing, Bulk after Level runs Edge first")
        << "line-routing.json" << none << "Level" << "Bulk"
        << QStringList{"ExposureMode=Timed", "TriggerSelector=AcquisitionStart",
                       "TriggerMode[AcquisitionStart]=On", "TriggerMode[ExposureStart]=Off",
                       "TriggerMode[ExposureActive]=Off", "TriggerActivation[ExposureStart]=FallingEdge",
                       "AcquisitionMode=MultiFrame", "AcquisitionFrameCount=10"}
        << QStringList{"TriggerSource"};

    QTest::newRow("exposure auto, Edge")
        << "exposure-auto.json" << none << "" << "Edge"
        << QStringList{"TriggerSelector=FrameStart", "TriggerMode[FrameStart]=On",
                       "TriggerMode[AcquisitionStart]=Off", "TriggerSource[FrameStart]=Line1",
                       "TriggerActivation[FrameStart]=FallingEdge", "ExposureAuto=Off", "AcquisitionMode=Continuous"}
        << QStringList{"ExposureAuto", "AcquisitionMode", "AcquisitionFrameCount"};
    QTest::newRow("exposure auto, Level")
        << "exposure-auto.json" << none << "" << "Level"
        << QStringList{"TriggerSelector=FrameStart", "TriggerMode[FrameStart]=On",
                       "TriggerMode[AcquisitionStart]=Off", "TriggerSource[FrameStart]=Line1",
                       "TriggerActivation[FrameStart]=LevelLow", "ExposureAuto=other", "AcquisitionMode=Continuous"}
        << QStringList{"AcquisitionMode"};
    QTest::newRow("exposure auto, Bulk")
        << "exposure-auto.json" << none << "" << "Bulk"
        << QStringList{"TriggerSelector=AcquisitionStart", "TriggerMode[AcquisitionStart]=On",
                       "TriggerMode[FrameStart]=Off", "TriggerSource[AcquisitionStart]=Line1",
                       "TriggerSource[FrameStart]=Line0", "TriggerActivation[AcquisitionStart]=FallingEdge",
                       "AcquisitionMode=MultiFrame", "AcquisitionFrameCount=10", "ExposureAuto=Off"}
        << QStringList{"ExposureAuto"};

    QTest::newRow("exposure mode, Edge")
        << "exposure-mode.json" << none << "" << "Edge"
        << QStringList{"ExposureMode=Timed", "TriggerSelector=FrameStart", "TriggerMode[FrameStart]=On",
                       "TriggerMode[AcquisitionStart]=Off", "TriggerSource[FrameStart]=Line0",
                       "TriggerActivation[FrameStart]=FallingEdge", "LineSelector=Line0", "AcquisitionMode=Continuous"}
        << QStringList{"ExposureMode", "TriggerSource", "AcquisitionMode"};
    QTest::newRow("exposure mode, Edge, Line0 an output")
        << "exposure-mode.json" << QStringList{"Line0"} << "" << "Edge"
        << QStringList{"TriggerSelector=FrameStart", "TriggerMode[FrameStart]=On",
                       "TriggerSource[FrameStart]=Line1", "LineSelector=Line1"}
        << QStringList{"ExposureMode"};
    QTest::newRow("exposure mode, Edge, no input line")
        << "exposure-mode.json" << QStringList{"Line0", "Line1", "Line4", "Line5"} << "" << "Edge"
        << QStringList{"TriggerSelector=FrameStart", "TriggerMode[FrameStart]=On",
                       "TriggerSource[FrameStart]=Line0", "LineSelector=Line0"}
        << QStringList{"ExposureMode", "TriggerSource"};
    QTest::newRow("exposure mode, Level")
        << "exposure-mode.json" << none << "" << "Level"
        << QStringList{"ExposureMode=TriggerWidth", "TriggerSelector=FrameStart", "TriggerMode[FrameStart]=On",
                       "TriggerMode[AcquisitionStart]=Off", "TriggerSource[FrameStart]=Line0",
                       "TriggerActivation[FrameStart]=FallingEdge", "AcquisitionMode=Continuous"}
        << QStringList{"TriggerSource", "AcquisitionMode"};
    QTest::newRow("exposure mode, Bulk")
        << "exposure-mode.json" << none << "" << "Bulk"
        << QStringList{"ExposureMode=Timed", "TriggerSelector=AcquisitionStart",
                       "TriggerMode[AcquisitionStart]=On", "TriggerMode[FrameStart]=Off",
                       "TriggerActivation[AcquisitionStart]=FallingEdge",
                       "TriggerActivation[FrameStart]=RisingEdge", "AcquisitionMode=MultiFrame",
                       "AcquisitionFrameCount=10"}
        << QStringList{"ExposureMode", "TriggerSource"};
}

void tst_QuickModes::finalCameraState()
{
    QFETCH(QString, camera);
    QFETCH(QStringList, outputLines);
    QFETCH(QString, before);
    QFETCH(QString, mode);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, unwritten);

    loadCamera(camera, outputLines);
    buildPage();
    if (!before.isEmpty())
        runMode(before);
    m_camera->clearJournal();

    runMode(mode);

    for (const QString &entry : expected) {
        const QString target = entry.section(QLatin1Char('='), 0, 0);
        const QString value = entry.section(QLatin1Char('='), 1);
        QString feature = target;
        QString selectorEntry;
        if (target.endsWith(QLatin1Char(']'))) {
            feature = target.section(QLatin1Char('['), 0, 0);
            selectorEntry = target.section(QLatin1Char('['), 1).chopped(1);
        }
        const QString actual =
            QString::fromStdString(m_camera->valueOf(feature.toStdString(), selectorEntry.toStdString()));
        QVERIFY2(actual == value, qPrintable(entry + QStringLiteral(" but is ") + actual));
    }

    const QStringList writes = TestCamera::writes(*m_camera);
    for (const QString &feature : unwritten) {
        for (const QString &write : writes)
            QVERIFY2(!write.startsWith(feature + QLatin1Char('=')), qPrintable(write));
    }
}

void tst_QuickModes::bulkFrameCountOrder_data()
{
    QTest::addColumn<QString>("camera");
    QTest::addColumn<bool>("countFirst");

    QTest::newRow("line routing: count, then MultiFrame") << "line-routing.json" << true;
    QTest::newRow("exposure auto: MultiFrame, then count") << "exposure-auto.json" << false;
    QTest::newRow("exposure mode: MultiFrame, then count") << "exposure-mode.json" << false;
}

void tst_QuickModes::bulkFrameCountOrder()
{
    QFETCH(QString, camera);
    QFETCH(bool, countFirst);

    loadCamera(camera);
    buildPage();
    m_camera->clearJournal();
    runMode(QStringLiteral("Bulk"));

    const QStringList writes = TestCamera::writes(*m_camera);
    const int count = writes.indexOf(QStringLiteral("AcquisitionFrameCount=10"));
    const int multiFrame = writes.indexOf(QStringLiteral("AcquisitionMode=MultiFrame"));
    QVERIFY(count >= 0);
    QVERIFY(multiFrame >= 0);
    QCOMPARE(count < multiFrame, countFirst);
}

void tst_QuickModes::buttonsDuringAndAfterRun_data()
{
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("streaming");

    for (const char *mode : {"Edge", "Level", "Bulk"}) {
        QTest::addRow("%s, idle camera", mode) << "exposure-mode.json" << mode << false;
        QTest::addRow("%s, streaming SyncOut camera", mode) << "syncout.json" << mode << true;
    }
    QTest::newRow("Bulk, streaming LineOut camera") << "lineout.json" << "Bulk" << true;
}

void tst_QuickModes::buttonsDuringAndAfterRun()
{
    QFETCH(QString, camera);
    QFETCH(QString, mode);
    QFETCH(bool, streaming);

    loadCamera(camera);
    IOTriggerWidget *page = buildPage();
    if (streaming)
        page->camIsStreaming(true);

    // Runs inside the mode's first pass of event processing.
    QList<bool> seenDuringRun;
    QTimer::singleShot(0, page, [&] {
        seenDuringRun << page->m_pButtonEdge->isEnabled() << page->m_pButtonLevel->isEnabled()
                      << page->m_pButtonBulk->isEnabled();
    });
    runMode(mode);

    QCOMPARE(seenDuringRun, (QList<bool>{false, false, false}));
    QCOMPARE(page->m_pButtonEdge->isEnabled(), !streaming);
    QCOMPARE(page->m_pButtonLevel->isEnabled(), !streaming);
    QCOMPARE(page->m_pButtonBulk->isEnabled(), !streaming);
}

void tst_QuickModes::observersAroundRun_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("unobserved");

    QTest::newRow("Edge writes unobserved") << "Edge" << true;
    QTest::newRow("Level stays observed") << "Level" << false;
    QTest::newRow("Bulk writes unobserved") << "Bulk" << true;
}

void tst_QuickModes::observersAroundRun()
{
    QFETCH(QString, mode);
    QFETCH(bool, unobserved);

    loadCamera(QStringLiteral("exposure-mode.json"));
    IOTriggerWidget *page = buildPage();
    m_camera->clearJournal();
    runMode(mode);

    // Deliveries run on the library's thread and may land after the run, so
    // the order of the page's own calls is what is checked.
    const std::vector<OrvSim::JournalEntry> journal = m_camera->journal();
    int firstSet = -1, lastSet = -1, lastUnregister = -1, firstRegister = -1;
    int registers = 0, unregisters = 0;
    for (int i = 0; i < int(journal.size()); ++i) {
        const OrvSim::JournalEntry &entry = journal[i];
        if (entry.fromNotificationThread)
            continue;
        if (entry.operation == OrvSim::Operation::SetValue) {
            if (firstSet < 0)
                firstSet = i;
            lastSet = i;
        } else if (entry.operation == OrvSim::Operation::UnregisterObserver) {
            ++unregisters;
            lastUnregister = i;
        } else if (entry.operation == OrvSim::Operation::RegisterObserver) {
            ++registers;
            if (firstRegister < 0)
                firstRegister = i;
        }
    }
    QVERIFY(firstSet >= 0);
    if (unobserved) {
        QVERIFY(unregisters > 0);
        QCOMPARE(registers, unregisters);
        QVERIFY(lastUnregister < firstSet);
        QVERIFY(firstRegister > lastSet);
    } else {
        QCOMPARE(unregisters, 0);
        QCOMPARE(registers, 0);
    }

    // Registered afterwards: a later camera change is reported.
    OrvSim::Camera::waitForNotifications();
    QCoreApplication::processEvents();
    page->ChangedFeatureList->clear();
    QCOMPARE(m_camera->setFromCamera("TriggerActivation", "AnyEdge"), TKN::OrvAPI::OrvErrSuccess);
    QTRY_VERIFY(page->changedFeatureList().contains(QStringLiteral("TriggerActivation")));
}

void tst_QuickModes::firstInputLine_data()
{
    QTest::addColumn<QStringList>("outputLines");
    QTest::addColumn<QString>("found");

    QTest::newRow("first line is an input") << QStringList() << "Line0";
    QTest::newRow("Line0 an output") << QStringList{"Line0"} << "Line1";
    QTest::newRow("no input line") << QStringList{"Line0", "Line1", "Line4", "Line5"} << "";
}

void tst_QuickModes::firstInputLine()
{
    QFETCH(QStringList, outputLines);
    QFETCH(QString, found);

    loadCamera(QStringLiteral("exposure-mode.json"), outputLines);
    IOTriggerWidget *page = buildPage();
    QCOMPARE(m_camera->setFromCamera("LineSelector", "Line3"), TKN::OrvAPI::OrvErrSuccess);
    m_camera->clearJournal();

    QCOMPARE(page->GetFirstInputLine(), found);
    // Left on the line found; otherwise back where it was.
    QCOMPARE(QString::fromStdString(m_camera->valueOf("LineSelector")), found.isEmpty() ? "Line3" : found);
    if (found.isEmpty()) {
        QCOMPARE(TestCamera::writes(*m_camera),
                 (QStringList{"LineSelector=Line0", "LineSelector=Line3", "LineSelector=Line1", "LineSelector=Line3",
                              "LineSelector=Line2", "LineSelector=Line3", "LineSelector=Line3", "LineSelector=Line3",
                              "LineSelector=Line4", "LineSelector=Line3", "LineSelector=Line5", "LineSelector=Line3"}));
    }
}

QTEST_MAIN(tst_QuickModes)
#include "tst_quickmodes.moc"
