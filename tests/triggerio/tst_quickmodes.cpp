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
    void aroundRun_data();
    void aroundRun();

private:
    void run(const QString &mode);

    PageUnderTest m;
};

void tst_QuickModes::run(const QString &mode)
{
    const QByteArray slot = "On" + mode.toLatin1() + "Mode";
    QVERIFY(QMetaObject::invokeMethod(m.page.get(), slot.constData(), Qt::DirectConnection));
}

void tst_QuickModes::finalCameraState_data()
{
    struct Row
    {
        const char *tag, *file;
        const char *outputLines; // set to output before the page opens
        const char *before, *mode;
        const char *expected; // "Feature=value", or "Feature[selector entry]=value"
        const char *unwritten; // features whose entries are absent or already current
        const char *inOrder; // writes that must come in this order
    };
    const char *countFirst = "AcquisitionFrameCount=10 AcquisitionMode=MultiFrame";
    const char *countLast = "AcquisitionMode=MultiFrame AcquisitionFrameCount=10";
    const Row rows[] = {
        { "line routing, Edge", "line-routing.json", "", "", "Edge",
            "ExposureMode=Timed TriggerSelector=ExposureStart TriggerMode[ExposureStart]=On "
            "TriggerSource[ExposureStart]=InputLines TriggerActivation[ExposureStart]=FallingEdge "
            "LineSelector=Line0 LineRouting[Line0]=Trigger AcquisitionMode=Continuous",
            "ExposureMode TriggerSource AcquisitionMode LineSelector", "" },
        { "line routing, Level", "line-routing.json", "", "", "Level",
            "ExposureMode=TriggerWidth TriggerSelector=ExposureActive TriggerMode[ExposureActive]=On "
            "TriggerMode[ExposureStart]=Off TriggerActivation[ExposureActive]=RisingEdge "
            "LineRouting[Line0]=Trigger AcquisitionMode=Continuous",
            "TriggerActivation TriggerSource AcquisitionMode", "" },
        { "line routing, Bulk", "line-routing.json", "", "", "Bulk",
            "ExposureMode=Timed TriggerSelector=AcquisitionStart TriggerMode[AcquisitionStart]=On "
            "TriggerMode[ExposureStart]=Off TriggerActivation[ExposureStart]=FallingEdge "
            "TriggerActivation[AcquisitionStart]=RisingEdge LineRouting[Line0]=Trigger "
            "AcquisitionMode=MultiFrame AcquisitionFrameCount=10",
            "ExposureMode TriggerSource", countFirst },
        { "line routing, Bulk after Level runs Edge first", "line-routing.json", "", "Level", "Bulk",
            "ExposureMode=Timed TriggerSelector=AcquisitionStart TriggerMode[AcquisitionStart]=On "
            "TriggerMode[ExposureStart]=Off TriggerMode[ExposureActive]=Off "
            "TriggerActivation[ExposureStart]=FallingEdge AcquisitionMode=MultiFrame "
            "AcquisitionFrameCount=10",
            "TriggerSource", "" },
        { "exposure auto, Edge", "exposure-auto.json", "", "", "Edge",
            "TriggerSelector=FrameStart TriggerMode[FrameStart]=On TriggerMode[AcquisitionStart]=Off "
            "TriggerSource[FrameStart]=Line1 TriggerActivation[FrameStart]=FallingEdge ExposureAuto=Off "
            "AcquisitionMode=Continuous",
            "ExposureAuto AcquisitionMode AcquisitionFrameCount", "" },
        { "exposure auto, Level", "exposure-auto.json", "", "", "Level",
            "TriggerSelector=FrameStart TriggerMode[FrameStart]=On TriggerMode[AcquisitionStart]=Off "
            "TriggerSource[FrameStart]=Line1 TriggerActivation[FrameStart]=LevelLow ExposureAuto=other "
            "AcquisitionMode=Continuous",
            "AcquisitionMode", "" },
        { "exposure auto, Bulk", "exposure-auto.json", "", "", "Bulk",
            "TriggerSelector=AcquisitionStart TriggerMode[AcquisitionStart]=On TriggerMode[FrameStart]=Off "
            "TriggerSource[AcquisitionStart]=Line1 TriggerSource[FrameStart]=Line0 "
            "TriggerActivation[AcquisitionStart]=FallingEdge AcquisitionMode=MultiFrame "
            "AcquisitionFrameCount=10 ExposureAuto=Off",
            "ExposureAuto", countLast },
        { "exposure mode, Edge", "exposure-mode.json", "", "", "Edge",
            "ExposureMode=Timed TriggerSelector=FrameStart TriggerMode[FrameStart]=On "
            "TriggerMode[AcquisitionStart]=Off TriggerSource[FrameStart]=Line0 "
            "TriggerActivation[FrameStart]=FallingEdge LineSelector=Line0 AcquisitionMode=Continuous",
            "ExposureMode TriggerSource AcquisitionMode", "" },
        // The trigger source is the first input line, and the line selector stays on it.
        { "exposure mode, Edge, Line0 an output", "exposure-mode.json", "Line0", "", "Edge",
            "TriggerSelector=FrameStart TriggerMode[FrameStart]=On TriggerSource[FrameStart]=Line1 "
            "LineSelector=Line1",
            "ExposureMode", "" },
        { "exposure mode, Edge, no input line", "exposure-mode.json", "Line0 Line1 Line4 Line5", "", "Edge",
            "TriggerSelector=FrameStart TriggerMode[FrameStart]=On TriggerSource[FrameStart]=Line0 "
            "LineSelector=Line0",
            "ExposureMode TriggerSource", "" },
        { "exposure mode, Level", "exposure-mode.json", "", "", "Level",
            "ExposureMode=TriggerWidth TriggerSelector=FrameStart TriggerMode[FrameStart]=On "
            "TriggerMode[AcquisitionStart]=Off TriggerSource[FrameStart]=Line0 "
            "TriggerActivation[FrameStart]=FallingEdge AcquisitionMode=Continuous",
            "TriggerSource AcquisitionMode", "" },
        { "exposure mode, Bulk", "exposure-mode.json", "", "", "Bulk",
            "ExposureMode=Timed TriggerSelector=AcquisitionStart TriggerMode[AcquisitionStart]=On "
            "TriggerMode[FrameStart]=Off TriggerActivation[AcquisitionStart]=FallingEdge "
            "TriggerActivation[FrameStart]=RisingEdge AcquisitionMode=MultiFrame AcquisitionFrameCount=10",
            "ExposureMode TriggerSource", countLast },
    };
    for (const char *column : { "file", "outputLines", "before", "mode", "expected", "unwritten", "inOrder" })
        QTest::addColumn<QString>(column);
    for (const Row &r : rows) {
        QTest::newRow(r.tag) << QString(r.file) << QString(r.outputLines) << QString(r.before)
                             << QString(r.mode) << QString(r.expected) << QString(r.unwritten)
                             << QString(r.inOrder);
    }
}

void tst_QuickModes::finalCameraState()
{
    QFETCH(QString, file);
    QFETCH(QString, outputLines);
    QFETCH(QString, before);
    QFETCH(QString, mode);
    QFETCH(QString, expected);
    QFETCH(QString, unwritten);
    QFETCH(QString, inOrder);

    m.camera = CameraVariant::load(file);
    for (const QString &line : outputLines.split(' ', Qt::SkipEmptyParts))
        m.camera->setFromCamera("LineMode", "Output", line.toStdString());
    m.open(m.camera);
    if (!before.isEmpty())
        run(before);
    m.camera->clearJournal();
    run(mode);

    const QRegularExpression target(QStringLiteral("^(\\w+)(?:\\[(\\w+)\\])?=(.*)$"));
    for (const QString &entry : expected.split(' ')) {
        const QRegularExpressionMatch parts = target.match(entry);
        const QString actual = m.value(parts.captured(1), parts.captured(2));
        QVERIFY2(actual == parts.captured(3), qPrintable(entry + QStringLiteral(" but is ") + actual));
    }
    const QStringList writes = m.writes();
    for (const QString &feature : unwritten.split(' '))
        QVERIFY2(writes.filter(QRegularExpression("^" + feature + "=")).isEmpty(), qPrintable(feature));
    int last = -1;
    for (const QString &write : inOrder.split(' ', Qt::SkipEmptyParts)) {
        const int at = writes.indexOf(write, last + 1);
        QVERIFY2(at > last, qPrintable(write + QStringLiteral(" out of order")));
        last = at;
    }
}

void tst_QuickModes::aroundRun_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("streaming");
    QTest::addColumn<QString>("mode");
    // The page's own calls, runs of one kind shown once: U(nregister observers), S(et), R(egister).
    QTest::addColumn<QString>("calls");

    QTest::newRow("Edge, idle: written unobserved") << "exposure-mode.json" << false << "Edge"
                                                    << "USR";
    QTest::newRow("Level, idle: stays observed") << "exposure-mode.json" << false << "Level"
                                                 << "S";
    QTest::newRow("Bulk, idle: written unobserved") << "exposure-mode.json" << false << "Bulk"
                                                    << "USR";
    QTest::newRow("Edge, streaming SyncOut camera") << "syncout.json" << true << "Edge"
                                                    << "USR";
    QTest::newRow("Level, streaming SyncOut camera") << "syncout.json" << true << "Level"
                                                     << "S";
    QTest::newRow("Bulk, streaming LineOut camera") << "lineout.json" << true << "Bulk"
                                                    << "USR";
}

// The buttons are off during a run and stay off after it on a streaming camera.
void tst_QuickModes::aroundRun()
{
    QFETCH(QString, file);
    QFETCH(bool, streaming);
    QFETCH(QString, mode);
    QFETCH(QString, calls);

    IOTriggerWidget *page = m.open(file);
    page->camIsStreaming(streaming);
    m.camera->clearJournal();
    const QList<QPushButton *> buttons { page->m_pButtonEdge, page->m_pButtonLevel, page->m_pButtonBulk };
    int enabledDuringRun = -1;
    // Runs inside the mode's first pass of event processing.
    QTimer::singleShot(0, page, [&] {
        enabledDuringRun = 0;
        for (QPushButton *button : buttons)
            enabledDuringRun += button->isEnabled();
    });
    run(mode);

    QCOMPARE(enabledDuringRun, 0);
    for (QPushButton *button : buttons)
        QCOMPARE(button->isEnabled(), !streaming);

    // Deliveries run on the library's thread and may land anywhere: left out.
    QString seen;
    for (const OrvSim::JournalEntry &entry : m.camera->journal()) {
        const char kind = entry.operation == OrvSim::Operation::SetValue ? 'S'
            : entry.operation == OrvSim::Operation::UnregisterObserver   ? 'U'
            : entry.operation == OrvSim::Operation::RegisterObserver     ? 'R'
                                                                         : 0;
        if (kind && !entry.fromNotificationThread && !seen.endsWith(QLatin1Char(kind)))
            seen += QLatin1Char(kind);
    }
    QCOMPARE(seen, calls);
}

QTEST_MAIN(tst_QuickModes)
#include "tst_quickmodes.moc"
