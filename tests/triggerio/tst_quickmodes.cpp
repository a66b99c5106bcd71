// The quick trigger modes: the camera state each mode leaves on each camera
// variant, the writes it must not make, and the buttons around a run.
#include "triggeriotest.h"

#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class tst_QuickModes : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m.reset(); }

    void finalCameraState_data();
    void finalCameraState();
    void buttonsDuringAndAfterRun_data();
    void buttonsDuringAndAfterRun();
    void observersAroundRun_data();
    void observersAroundRun();

private:
    IOTriggerWidget *open(const QString &file, const QStringList &outputLines = {});
    void run(const QString &mode);

    PageUnderTest m;
};

IOTriggerWidget *tst_QuickModes::open(const QString &file, const QStringList &outputLines)
{
    m.camera = CameraVariant::load(file);
    for (const QString &line : outputLines)
        m.camera->setFromCamera("LineMode", "Output", line.toStdString());
    return m.open(m.camera);
}

void tst_QuickModes::run(const QString &mode)
{
    const QByteArray slot = "On" + mode.toLatin1() + "Mode";
    QVERIFY(QMetaObject::invokeMethod(m.page.get(), slot.constData(), Qt::DirectConnection));
}

void tst_QuickModes::finalCameraState_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("outputLines");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("mode");
    // "Feature=value", or "Feature[selector entry]=value" for a selected feature.
    QTest::addColumn<QStringList>("expected");
    // Features the run must not write: their entries are absent or already current.
    QTest::addColumn<QStringList>("unwritten");
    // Writes that must come in this order.
    QTest::addColumn<QStringList>("inOrder");

    const QStringList none;
    const QStringList countFirst { "AcquisitionFrameCount=10", "AcquisitionMode=MultiFrame" };
    const QStringList countLast { "AcquisitionMode=MultiFrame", "AcquisitionFrameCount=10" };
    QTest::newRow("line routing, Edge")
        << "line-routing.json" << none << ""
        << "Edge"
        << QStringList { "ExposureMode=Timed", "TriggerSelector=ExposureStart",
               "TriggerMode[ExposureStart]=On", "TriggerSource[ExposureStart]=InputLines",
               "TriggerActivation[ExposureStart]=FallingEdge", "LineSelector=Line0",
               "LineRouting[Line0]=Trigger", "AcquisitionMode=Continuous" }
        << QStringList { "ExposureMode", "TriggerSource", "AcquisitionMode", "LineSelector" } << none;
    QTest::newRow("line routing, Level")
        << "line-routing.json" << none << ""
        << "Level"
        << QStringList { "ExposureMode=TriggerWidth", "TriggerSelector=ExposureActive",
               "TriggerMode[ExposureActive]=On", "TriggerMode[ExposureStart]=Off",
               "TriggerActivation[ExposureActive]=RisingEdge", "LineRouting[Line0]=Trigger",
               "AcquisitionMode=Continuous" }
        << QStringList { "TriggerActivation", "TriggerSource", "AcquisitionMode" } << none;
    QTest::newRow("line routing, Bulk")
        << "line-routing.json" << none << ""
        << "Bulk"
        << QStringList { "ExposureMode=Timed", "TriggerSelector=AcquisitionStart",
               "TriggerMode[AcquisitionStart]=On", "TriggerMode[ExposureStart]=Off",
               "TriggerActivation[ExposureStart]=FallingEdge",
               "TriggerActivation[AcquisitionStart]=RisingEdge", "LineRouting[Line0]=Trigger",
               "AcquisitionMode=MultiFrame", "AcquisitionFrameCount=10" }
        << QStringList { "ExposureMode", "TriggerSource" } << countFirst;
    QTest::newRow("line routing, Bulk after Level runs Edge first")
        << "line-routing.json" << none << "Level"
        << "Bulk"
        << QStringList { "ExposureMode=Timed", "TriggerSelector=AcquisitionStart",
               "TriggerMode[AcquisitionStart]=On", "TriggerMode[ExposureStart]=Off",
               "TriggerMode[ExposureActive]=Off", "TriggerActivation[ExposureStart]=FallingEdge",
               "AcquisitionMode=MultiFrame", "AcquisitionFrameCount=10" }
        << QStringList { "TriggerSource" } << none;

    QTest::newRow("exposure auto, Edge")
        << "exposure-auto.json" << none << ""
        << "Edge"
        << QStringList { "TriggerSelector=FrameStart", "TriggerMode[FrameStart]=On",
               "TriggerMode[AcquisitionStart]=Off", "TriggerSource[FrameStart]=Line1",
               "TriggerActivation[FrameStart]=FallingEdge", "ExposureAuto=Off", "AcquisitionMode=Continuous" }
        << QStringList { "ExposureAuto", "AcquisitionMode", "AcquisitionFrameCount" } << none;
    QTest::newRow("exposure auto, Level")
        << "exposure-auto.json" << none << ""
        << "Level"
        << QStringList { "TriggerSelector=FrameStart", "TriggerMode[FrameStart]=On",
               "TriggerMode[AcquisitionStart]=Off", "TriggerSource[FrameStart]=Line1",
               "TriggerActivation[FrameStart]=LevelLow", "ExposureAuto=other", "AcquisitionMode=Continuous" }
        << QStringList { "AcquisitionMode" } << none;
    QTest::newRow("exposure auto, Bulk")
        << "exposure-auto.json" << none << ""
        << "Bulk"
        << QStringList { "TriggerSelector=AcquisitionStart", "TriggerMode[AcquisitionStart]=On",
               "TriggerMode[FrameStart]=Off", "TriggerSource[AcquisitionStart]=Line1",
               "TriggerSource[FrameStart]=Line0", "TriggerActivation[AcquisitionStart]=FallingEdge",
               "AcquisitionMode=MultiFrame", "AcquisitionFrameCount=10", "ExposureAuto=Off" }
        << QStringList { "ExposureAuto" } << countLast;

    QTest::newRow("exposure mode, Edge")
        << "exposure-mode.json" << none << ""
        << "Edge"
        << QStringList { "ExposureMode=Timed", "TriggerSelector=FrameStart", "TriggerMode[FrameStart]=On",
               "TriggerMode[AcquisitionStart]=Off", "TriggerSource[FrameStart]=Line0",
               "TriggerActivation[FrameStart]=FallingEdge", "LineSelector=Line0",
               "AcquisitionMode=Continuous" }
        << QStringList { "ExposureMode", "TriggerSource", "AcquisitionMode" } << none;
    // The first input line is the trigger source, and the line selector stays on it.
    QTest::newRow("exposure mode, Edge, Line0 an output")
        << "exposure-mode.json" << QStringList { "Line0" } << ""
        << "Edge"
        << QStringList { "TriggerSelector=FrameStart", "TriggerMode[FrameStart]=On",
               "TriggerSource[FrameStart]=Line1", "LineSelector=Line1" }
        << QStringList { "ExposureMode" } << none;
    QTest::newRow("exposure mode, Edge, no input line")
        << "exposure-mode.json" << QStringList { "Line0", "Line1", "Line4", "Line5" } << ""
        << "Edge"
        << QStringList { "TriggerSelector=FrameStart", "TriggerMode[FrameStart]=On",
               "TriggerSource[FrameStart]=Line0", "LineSelector=Line0" }
        << QStringList { "ExposureMode", "TriggerSource" } << none;
    QTest::newRow("exposure mode, Level")
        << "exposure-mode.json" << none << ""
        << "Level"
        << QStringList { "ExposureMode=TriggerWidth", "TriggerSelector=FrameStart",
               "TriggerMode[FrameStart]=On", "TriggerMode[AcquisitionStart]=Off",
               "TriggerSource[FrameStart]=Line0", "TriggerActivation[FrameStart]=FallingEdge",
               "AcquisitionMode=Continuous" }
        << QStringList { "TriggerSource", "AcquisitionMode" } << none;
    QTest::newRow("exposure mode, Bulk")
        << "exposure-mode.json" << none << ""
        << "Bulk"
        << QStringList { "ExposureMode=Timed", "TriggerSelector=AcquisitionStart",
               "TriggerMode[AcquisitionStart]=On", "TriggerMode[FrameStart]=Off",
               "TriggerActivation[AcquisitionStart]=FallingEdge", "TriggerActivation[FrameStart]=RisingEdge",
               "AcquisitionMode=MultiFrame", "AcquisitionFrameCount=10" }
        << QStringList { "ExposureMode", "TriggerSource" } << countLast;
}

void tst_QuickModes::finalCameraState()
{
    QFETCH(QString, file);
    QFETCH(QStringList, outputLines);
    QFETCH(QString, before);
    QFETCH(QString, mode);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, unwritten);
    QFETCH(QStringList, inOrder);

    open(file, outputLines);
    if (!before.isEmpty())
        run(before);
    m.camera->clearJournal();
    run(mode);

    const QRegularExpression target(QStringLiteral("^(\\w+)(?:\\[(\\w+)\\])?=(.*)$"));
    for (const QString &entry : expected) {
        const QRegularExpressionMatch parts = target.match(entry);
        const QString actual = m.value(parts.captured(1), parts.captured(2));
        QVERIFY2(actual == parts.captured(3), qPrintable(entry + QStringLiteral(" but is ") + actual));
    }

    const QStringList writes = m.writes();
    for (const QString &feature : unwritten)
        QVERIFY2(writes.filter(QRegularExpression("^" + feature + "=")).isEmpty(), qPrintable(feature));
    int last = -1;
    for (const QString &write : inOrder) {
        const int at = writes.indexOf(write, last + 1);
        QVERIFY2(at > last, qPrintable(write + QStringLiteral(" out of order")));
        last = at;
    }
}

void tst_QuickModes::buttonsDuringAndAfterRun_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("streaming");

    QTest::newRow("Edge, idle camera") << "exposure-mode.json"
                                       << "Edge" << false;
    QTest::newRow("Edge, streaming SyncOut camera") << "syncout.json"
                                                    << "Edge" << true;
    QTest::newRow("Level, streaming SyncOut camera") << "syncout.json"
                                                     << "Level" << true;
    QTest::newRow("Bulk, streaming LineOut camera") << "lineout.json"
                                                    << "Bulk" << true;
}

void tst_QuickModes::buttonsDuringAndAfterRun()
{
    QFETCH(QString, file);
    QFETCH(QString, mode);
    QFETCH(bool, streaming);

    IOTriggerWidget *page = open(file);
    if (streaming)
        page->camIsStreaming(true);
    const QList<QPushButton *> buttons { page->m_pButtonEdge, page->m_pButtonLevel, page->m_pButtonBulk };

    // Runs inside the mode's first pass of event processing.
    int enabledDuringRun = -1;
    QTimer::singleShot(0, page, [&] {
        enabledDuringRun = 0;
        for (QPushButton *button : buttons)
            enabledDuringRun += button->isEnabled();
    });
    run(mode);

    QCOMPARE(enabledDuringRun, 0);
    for (QPushButton *button : buttons)
        QCOMPARE(button->isEnabled(), !streaming);
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

    open(QStringLiteral("exposure-mode.json"));
    m.camera->clearJournal();
    run(mode);

    // Deliveries run on the library's thread and may land after the run: only
    // the page's own calls are ordered.
    int firstSet = -1, lastSet = -1, lastUnregister = -1, firstRegister = -1, registers = 0, unregisters = 0;
    const std::vector<OrvSim::JournalEntry> journal = m.camera->journal();
    for (int i = 0; i < int(journal.size()); ++i) {
        if (journal[i].fromNotificationThread)
            continue;
        switch (journal[i].operation) {
        case OrvSim::Operation::SetValue:
            firstSet = firstSet < 0 ? i : firstSet;
            lastSet = i;
            break;
        case OrvSim::Operation::UnregisterObserver:
            ++unregisters;
            lastUnregister = i;
            break;
        case OrvSim::Operation::RegisterObserver:
            ++registers;
            firstRegister = firstRegister < 0 ? i : firstRegister;
            break;
        default:
            break;
        }
    }
    QVERIFY(firstSet >= 0);
    QCOMPARE(unregisters > 0, unobserved);
    QCOMPARE(registers, unregisters);
    if (unobserved) {
        QVERIFY(lastUnregister < firstSet);
        QVERIFY(firstRegister > lastSet);
    }
}

QTEST_MAIN(tst_QuickModes)
#include "tst_quickmodes.moc"
