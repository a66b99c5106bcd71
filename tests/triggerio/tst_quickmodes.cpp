// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The quick trigger modes: the camera state each mode leaves on each camera
// variant, the writes it must not make, and the buttons around a run.
#include "triggeriotest.h"

#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

class tst_QuickModes : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m.reset(); }

    void finalCameraState_data();
    void finalCameraState();
    void endStateFromAnyStart_data();
    void endStateFromAnyStart();
    void aroundRun_data();
    void aroundRun();
    void derivedControlsFollowEndState_data();
    void derivedControlsFollowEndState();
    void pageDeletedDuringRun_data();
    void pageDeletedDuringRun();
    void noModeInsideMode();

private:
    void run(const QString &mode);
    // "Feature=value" or "Feature[selector entry]=value", space-separated.
    void verifyState(const QString &expected);

    PageUnderTest m;
};

void tst_QuickModes::run(const QString &mode)
{
    const QByteArray slot = "On" + mode.toLatin1() + "Mode";
    QVERIFY(QMetaObject::invokeMethod(m.page.get(), slot.constData(), Qt::DirectConnection));
}

void tst_QuickModes::finalCameraState_data()
{
    // clang-format off
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
        // The camera spells the low level "LevelLow"; that is the entry chosen.
        { "line routing, Level", "line-routing.json", "", "", "Level",
            "ExposureMode=TriggerWidth TriggerSelector=ExposureActive TriggerMode[ExposureActive]=On "
            "TriggerMode[ExposureStart]=Off TriggerActivation[ExposureActive]=LevelLow "
            "LineRouting[Line0]=Trigger AcquisitionMode=Continuous",
            "TriggerSource AcquisitionMode", "" },
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
    // clang-format on
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

    verifyState(expected);
    if (QTest::currentTestFailed())
        return;
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

void tst_QuickModes::verifyState(const QString &expected)
{
    const QRegularExpression target(QStringLiteral("^(\\w+)(?:\\[(\\w+)\\])?=(.*)$"));
    for (const QString &entry : expected.split(' ')) {
        const QRegularExpressionMatch parts = target.match(entry);
        const QString actual = m.value(parts.captured(1), parts.captured(2));
        QVERIFY2(actual == parts.captured(3), qPrintable(entry + QStringLiteral(" but is ") + actual));
    }
}

void tst_QuickModes::endStateFromAnyStart_data()
{
    // clang-format off
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("before");     // camera-side changes before the page opens
    QTest::addColumn<QString>("unrefreshed"); // and after, which the page has not shown yet
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("expected");

    // What each mode sets on each camera variant, whatever the camera held before.
    const struct
    {
        const char *file, *mode, *expected;
    } modes[] = {
        { "line-routing.json", "Edge",
            "ExposureMode=Timed TriggerSelector=ExposureStart TriggerMode[ExposureStart]=On "
            "TriggerSource[ExposureStart]=InputLines TriggerActivation[ExposureStart]=FallingEdge "
            "LineSelector=Line0 LineRouting[Line0]=Trigger AcquisitionMode=Continuous" },
        { "line-routing.json", "Level",
            "ExposureMode=TriggerWidth TriggerSelector=ExposureActive TriggerMode[ExposureActive]=On "
            "TriggerSource[ExposureActive]=InputLines TriggerActivation[ExposureActive]=LevelLow "
            "LineSelector=Line0 LineRouting[Line0]=Trigger AcquisitionMode=Continuous" },
        { "line-routing.json", "Bulk",
            "ExposureMode=Timed TriggerSelector=AcquisitionStart TriggerMode[AcquisitionStart]=On "
            "TriggerMode[ExposureStart]=Off TriggerSource[ExposureStart]=InputLines "
            "TriggerActivation[ExposureStart]=FallingEdge LineSelector=Line0 LineRouting[Line0]=Trigger "
            "AcquisitionMode=MultiFrame AcquisitionFrameCount=10" },
        { "exposure-auto.json", "Edge",
            "TriggerMode[AcquisitionStart]=Off TriggerSelector=FrameStart TriggerMode[FrameStart]=On "
            "TriggerSource[FrameStart]=Line1 TriggerActivation[FrameStart]=FallingEdge ExposureAuto=Off "
            "AcquisitionMode=Continuous" },
        { "exposure-auto.json", "Level",
            "TriggerMode[AcquisitionStart]=Off TriggerSelector=FrameStart TriggerMode[FrameStart]=On "
            "TriggerSource[FrameStart]=Line1 TriggerActivation[FrameStart]=LevelLow ExposureAuto=other "
            "AcquisitionMode=Continuous" },
        { "exposure-auto.json", "Bulk",
            "TriggerMode[FrameStart]=Off TriggerSelector=AcquisitionStart TriggerMode[AcquisitionStart]=On "
            "TriggerSource[AcquisitionStart]=Line1 TriggerActivation[AcquisitionStart]=FallingEdge "
            "ExposureAuto=Off AcquisitionMode=MultiFrame AcquisitionFrameCount=10" },
        { "exposure-mode.json", "Edge",
            "ExposureMode=Timed TriggerMode[AcquisitionStart]=Off TriggerSelector=FrameStart "
            "TriggerMode[FrameStart]=On TriggerSource[FrameStart]=Line0 "
            "TriggerActivation[FrameStart]=FallingEdge LineSelector=Line0 AcquisitionMode=Continuous" },
        { "exposure-mode.json", "Level",
            "ExposureMode=TriggerWidth TriggerMode[AcquisitionStart]=Off TriggerSelector=FrameStart "
            "TriggerMode[FrameStart]=On TriggerSource[FrameStart]=Line0 "
            "TriggerActivation[FrameStart]=FallingEdge LineSelector=Line0 AcquisitionMode=Continuous" },
        { "exposure-mode.json", "Bulk",
            "ExposureMode=Timed TriggerMode[FrameStart]=Off TriggerSelector=AcquisitionStart "
            "TriggerMode[AcquisitionStart]=On TriggerSource[AcquisitionStart]=Line0 "
            "TriggerActivation[AcquisitionStart]=FallingEdge LineSelector=Line0 AcquisitionMode=MultiFrame "
            "AcquisitionFrameCount=10" },
    };
    const struct
    {
        const char *tag, *before, *unrefreshed;
    } starts[] = {
        { "default", "", "" },
        { "every trigger armed", "TriggerSelector=AcquisitionStart TriggerMode[*]=On", "" },
        { "other sources and activations",
            "TriggerSource[*]=Software TriggerActivation[*]=AnyEdge LineSelector=Line1 "
            "LineRouting[Line1]=Trigger ExposureMode=TriggerWidth ExposureAuto=Continuous",
            "" },
        { "boxes stale after camera-side changes", "",
            "TriggerSelector=AcquisitionStart TriggerMode=On TriggerSource=Software TriggerActivation=LevelHigh "
            "AcquisitionMode=SingleFrame ExposureMode=TriggerWidth ExposureAuto=Once" },
        { "MultiFrame", "AcquisitionMode=MultiFrame AcquisitionFrameCount=5", "" },
    };
    for (const auto &mode : modes) {
        for (const auto &start : starts) {
            QTest::addRow("%s, %s, %s", mode.file, mode.mode, start.tag)
                << mode.file << start.before << start.unrefreshed << mode.mode << mode.expected;
        }
    }
    // clang-format on
}

// The modes read each control from the camera before they compare its entry,
// and never write through a selection the camera refused.
void tst_QuickModes::endStateFromAnyStart()
{
    QFETCH(QString, file);
    QFETCH(QString, before);
    QFETCH(QString, unrefreshed);
    QFETCH(QString, mode);

    m.prepare(file);
    m.change(before);
    m.open(m.camera);
    m.change(unrefreshed);
    m.camera->clearJournal();
    run(mode);

    QFETCH(QString, expected);
    verifyState(expected);
    QCOMPARE(m.misdirectedWrite(), QString());
}

void tst_QuickModes::aroundRun_data()
{
    // clang-format off
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
    // clang-format on
}

// The buttons are off during a run and stay off after it on a streaming camera.
void tst_QuickModes::aroundRun()
{
    QFETCH(QString, file);
    QFETCH(bool, streaming);
    QFETCH(QString, mode);
    QFETCH(QString, calls);

    IOTriggerWidget *page = m.open(file);
    // A streaming camera locks what the host's signal locks on the page.
    if (streaming)
        m.camera->feature("AcquisitionStart")->RunCommand();
    page->camIsStreaming(streaming);
    m.camera->clearJournal();
    const QList<QPushButton *> buttons{page->m_pButtonEdge, page->m_pButtonLevel, page->m_pButtonBulk};
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
        const char kind = entry.operation == OrvSim::Operation::SetValue             ? 'S'
                          : entry.operation == OrvSim::Operation::UnregisterObserver ? 'U'
                          : entry.operation == OrvSim::Operation::RegisterObserver   ? 'R'
                                                                                     : 0;
        if (kind && !entry.fromNotificationThread && !seen.endsWith(QLatin1Char(kind)))
            seen += QLatin1Char(kind);
    }
    QCOMPARE(seen, calls);
}

void tst_QuickModes::derivedControlsFollowEndState_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("softwareTrigger");
    QTest::addColumn<bool>("frameCountShown");

    // The frame count is writable in MultiFrame only; software triggers start out chosen.
    const QString camera = R"(exposure-mode.json [{"name": "TriggerSource", "value": "Software"},
        {"name": "AcquisitionFrameCount", "writable": {"feature": "AcquisitionMode", "is": "MultiFrame"}},
        {"name": "AcquisitionMode", "value": "%1"}])";
    QTest::newRow("Edge") << camera.arg("MultiFrame") << "Edge" << false << false;
    QTest::newRow("Level") << camera.arg("MultiFrame") << "Level" << false << false;
    QTest::newRow("Bulk") << camera.arg("Continuous") << "Bulk" << false << true;
    // clang-format on
}

// Edge and Bulk write with the observers off: what follows from their writes
// is brought in line at their end, not left from before.
void tst_QuickModes::derivedControlsFollowEndState()
{
    QFETCH(QString, camera);
    QFETCH(QString, mode);

    IOTriggerWidget *page = m.open(camera);
    QVERIFY(page->m_pButtonSWTrigger->isEnabled());
    run(mode);
    QTEST(page->m_pButtonSWTrigger->isEnabled(), "softwareTrigger");
    QTEST(!page->m_pSpinAcquisitionFrameCount->isHidden(), "frameCountShown");
}

void tst_QuickModes::pageDeletedDuringRun_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QString>("mode");
    // From TriggerWidth, Bulk on the routing camera runs Edge inside it.
    for (const char *camera : { R"(line-routing.json [{"name": "ExposureMode", "value": "TriggerWidth"}])",
             "exposure-auto.json", "exposure-mode.json" }) {
        for (const char *mode : { "Edge", "Level", "Bulk" })
            QTest::addRow("%.18s, %s", camera, mode) << camera << mode;
    }
    // clang-format on
}

// The host may delete a page from any event, also from one a mode lets run:
// the mode stops there and touches neither the page nor the camera again.
void tst_QuickModes::pageDeletedDuringRun()
{
    QFETCH(QString, camera);
    QFETCH(QString, mode);

    m.open(camera);
    m.settle();
    IOTriggerWidget *page = m.page.get();
    QPointer<IOTriggerWidget> watch(page);
    int writesBeforeDeletion = -1;
    QTimer::singleShot(0, [&] {
        writesBeforeDeletion = m.writes().size();
        m.page.reset();
    });
    QVERIFY(QMetaObject::invokeMethod(page, qPrintable("On" + mode + "Mode")));
    QTRY_VERIFY(watch.isNull());
    QVERIFY(writesBeforeDeletion >= 0);
    QCOMPARE(m.writes().size(), writesBeforeDeletion);
}

// Clicks reach the page while a mode lets events run; they start nothing, and
// the buttons stay off until the outermost mode ends, whoever asks meanwhile.
void tst_QuickModes::noModeInsideMode()
{
    // TriggerWidth: Bulk runs the whole Edge mode first, with its own end.
    IOTriggerWidget *page = m.open(R"(line-routing.json [{"name": "ExposureMode", "value": "TriggerWidth"}])");
    const QList<QPushButton *> buttons{page->m_pButtonEdge, page->m_pButtonLevel, page->m_pButtonBulk};
    int passes = 0, buttonsOn = 0, writesByClicks = 0;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        ++passes;
        page->updateQuickModeButtons(false); // what a tick or the host's streaming signal does
        for (QPushButton *button : buttons)
            buttonsOn += button->isEnabled();
        const int before = m.writes().size();
        for (const char *slot : {"OnEdgeMode", "OnLevelMode", "OnBulkMode"})
            QMetaObject::invokeMethod(page, slot);
        writesByClicks += m.writes().size() - before;
    });
    clicker.start(0);
    run("Bulk");
    clicker.stop();

    QVERIFY(passes > 1);
    QCOMPARE(buttonsOn, 0);
    QCOMPARE(writesByClicks, 0);
    for (QPushButton *button : buttons)
        QVERIFY(button->isEnabled());
}

QTEST_MAIN(tst_QuickModes)
#include "tst_quickmodes.moc"
