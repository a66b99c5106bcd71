// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The viewer's window around its plug-in pages: opening and switching
// cameras, refusals, and the acquisition state the pages follow.
#include <imageview.h>
#include <mainwindow.h>
#include <signalspanel.h>
#include <signalsview.h>

#include <OrvikSim.h>

#include <QDockWidget>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QTemporaryDir>
#include <QtTest>

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tabsPerCamera_data();
    void tabsPerCamera();
    void switchingCameras();
    void switchingCamerasDuringQuickMode_data();
    void switchingCamerasDuringQuickMode();
    void openErrors_data();
    void openErrors();
    void acquisitionReachesThePages();
    void edgeWithAPulseTrainSeenInTheDocks();
    void pulseTrainRefusals_data();
    void pulseTrainRefusals();

private:
    QWidget *page() const { return m_Window->findChild<QWidget *>("IOTriggerWidget"); }
    bool hintShown() const { return !page()->findChild<QLabel *>("l_notAcquireHint")->isHidden(); }
    QString currentTab() const
    {
        auto *tabs = m_Window->findChild<QTabWidget *>();
        return tabs->tabText(tabs->currentIndex());
    }

    MainWindow *m_Window = nullptr;
    QString m_Error;
};

void tst_MainWindow::init()
{
    // Tests run in bin/, as the viewer does after it sets its directory.
    m_Window = new MainWindow;
    m_Window->setEchoMessages(true);
    m_Window->setCameraFolder(QStringLiteral("cameras"));
    m_Window->loadPlugins(QStringLiteral("plugins"));
}

void tst_MainWindow::cleanup()
{
    delete m_Window;
}

void tst_MainWindow::tabsPerCamera_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QStringList>("tabs");
    QTest::newRow("by name") << "exposure-mode" << QStringList { "Trigger IO", "Features" };
    QTest::newRow("by file name") << "syncout.json" << QStringList { "Trigger IO", "Features" };
    QTest::newRow("no trigger I/O") << "no-trigger-io" << QStringList { "Features" };
    // clang-format on
}

void tst_MainWindow::tabsPerCamera()
{
    QFETCH(QString, camera);
    QFETCH(QStringList, tabs);

    QVERIFY2(m_Window->openCamera(camera, &m_Error), qPrintable(m_Error));
    QCOMPARE(m_Window->tabCaptions(), tabs);
    QCOMPARE(currentTab(), tabs.first());
    QCOMPARE(bool(page()), tabs.size() == 2);
    // A refused page is a notice, not a tab.
    QCOMPARE(m_Window->statusBar()->currentMessage(),
             tabs.size() == 2 ? QString() : QStringLiteral("\"Trigger IO\" is not available for this camera (code 4)"));
}

void tst_MainWindow::switchingCameras()
{
    QVERIFY(m_Window->openCamera("exposure-mode", &m_Error));
    QPointer<QWidget> first = page();
    QVERIFY(m_Window->openCamera("no-trigger-io", &m_Error));
    // Pages go once control is back in the event loop.
    QTRY_VERIFY(first.isNull());
    QVERIFY(!page());

    // The tab in front stays in front across cameras that have it.
    QVERIFY(m_Window->openCamera("lineout", &m_Error));
    QVERIFY(m_Window->showTab("Features"));
    QVERIFY(m_Window->openCamera("syncout", &m_Error));
    QCOMPARE(currentTab(), QStringLiteral("Features"));
    QVERIFY(m_Window->showTab("Trigger IO"));
    QVERIFY(m_Window->openCamera("exposure-auto", &m_Error));
    QCOMPARE(currentTab(), QStringLiteral("Trigger IO"));
    QVERIFY(!m_Window->showTab("Output"));

    // A camera that cannot be opened leaves the open one as it was.
    QPointer<QWidget> before = page();
    QVERIFY(!m_Window->openCamera("no-such-camera", &m_Error));
    QVERIFY(m_Error.contains(QLatin1String("no-such-camera")));
    QVERIFY(before && page() == before.data());
}

void tst_MainWindow::switchingCamerasDuringQuickMode_data()
{
    // clang-format off
    QTest::addColumn<QString>("mode");
    for (const char *mode : { "Edge", "Level", "Bulk" })
        QTest::newRow(mode) << mode;
    // clang-format on
}

// A mode lets events run, and one of them switches the camera: the page the
// mode runs on goes only after the mode has ended, and nothing crashes.
void tst_MainWindow::switchingCamerasDuringQuickMode()
{
    QFETCH(QString, mode);
    QVERIFY(m_Window->openCamera("exposure-mode", &m_Error));
    QPointer<QWidget> first = page();
    QTimer::singleShot(0, m_Window, [this] { QVERIFY(m_Window->openCamera("syncout", &m_Error)); });
    QVERIFY(QMetaObject::invokeMethod(first, qPrintable("On" + mode + "Mode")));
    QTRY_VERIFY(first.isNull());
    QCOMPARE(m_Window->tabCaptions(), QStringList({"Trigger IO", "Features"}));
    QVERIFY(page());
}

void tst_MainWindow::openErrors_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");
    QTest::newRow("broken") << QByteArray("{\n  \"features\": [ { \"name\": \"A\", } ]\n}\n")
                            << "%1, line 2: JSON syntax error";
    // Refused before it is read: there is no line to name.
    QTest::newRow("too long") << QByteArray() << "%1: the description has 17825792 bytes, more than the limit";
    // clang-format on
}

void tst_MainWindow::openErrors()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, error);

    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("camera.json")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    if (content.isEmpty())
        QVERIFY(file.resize(17 * 1024 * 1024));
    else
        file.write(content);
    file.close();
    QVERIFY(!m_Window->openCamera(file.fileName(), &m_Error));
    QVERIFY2(m_Error.startsWith(error.arg(file.fileName())), qPrintable(m_Error));
}

void tst_MainWindow::acquisitionReachesThePages()
{
    QVERIFY(m_Window->openCamera("syncout", &m_Error));
    QSignalSpy changed(m_Window, SIGNAL(acquisitionChanged(bool)));
    QVERIFY(!hintShown());
    QVERIFY(m_Window->setAcquiring(true));
    QVERIFY(hintShown());
    // Starting again changes nothing the pages see.
    m_Window->setAcquiring(true);
    QVERIFY(m_Window->setAcquiring(false));
    QVERIFY(!hintShown());

    // The next camera starts idle: its pages must not inherit "acquiring".
    QVERIFY(m_Window->setAcquiring(true));
    QVERIFY(m_Window->openCamera("lineout", &m_Error));
    QVERIFY(!hintShown());
    QCOMPARE(changed.count(), 4);
    QCOMPARE(changed.at(1).at(0).toBool(), false);
    QCOMPARE(changed.at(3).at(0).toBool(), false);
}

// What the README tells a person to do to check a trigger set-up: Edge, start,
// a pulse train; the strip, the image and the status bar show one frame per edge.
void tst_MainWindow::edgeWithAPulseTrainSeenInTheDocks()
{
    QVERIFY(m_Window->openCamera("exposure-mode", &m_Error));
    OrvSim::Timing &timing = OrvSim::Camera::of(m_Window->camera())->timing();
    timing.useSteppedClock();
    for (const char *dock : {"signalsDock", "imageDock", "simulatorDock"})
        QVERIFY(!m_Window->findChild<QDockWidget *>(dock)->isHidden());
    QVERIFY(m_Window->showTab("Trigger IO"));
    QVERIFY(!m_Window->clickButton("No Such Button"));
    QVERIFY(m_Window->clickButton("Edge"));
    QVERIFY(m_Window->setAcquiring(true));
    QVERIFY2(m_Window->startPulseTrain("Line0", 50, 10, 6, &m_Error), qPrintable(m_Error));
    timing.advance(400000);

    auto *signalsPanel = m_Window->findChild<SignalsPanel *>();
    signalsPanel->refresh();
    int frames = 0, edges = 0;
    for (std::size_t i = 0; i < signalsPanel->timeline().size(); ++i) {
        const TKN::OrvAPI::SignalEvent &event = signalsPanel->timeline().at(i);
        frames += event.kind == TKN::OrvAPI::SignalEvent::FrameDelivered;
        edges += event.kind == TKN::OrvAPI::SignalEvent::LineLevel && event.source == "Line0" && !event.level;
    }
    QCOMPARE(edges, 6);
    QCOMPARE(frames, 6);
    QCOMPARE(signalsPanel->view()->end(), 400000LL);
    auto *image = m_Window->findChild<ImageView *>();
    image->refresh();
    QCOMPARE(image->frameShown(), 6ULL);
    QTRY_VERIFY(m_Window->findChild<QLabel *>("labelFrames")->text().startsWith("Frames: 6 "));
    QVERIFY(m_Window->findChild<QLabel *>("labelFrames")->text().endsWith("Missed triggers: 0"));
}

void tst_MainWindow::pulseTrainRefusals_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QString>("line");
    QTest::addColumn<double>("widthMs");
    QTest::addColumn<QString>("error");
    QTest::newRow("no such line") << "exposure-mode" << "Line9" << 10.0 << "the camera has no line Line9";
    QTest::newRow("an output") << "exposure-mode" << "Line2" << 10.0 << "Line2 is an output";
    QTest::newRow("width past the period") << "exposure-mode" << "Line0" << 60.0 << "a pulse needs 0 < width < period";
    // clang-format on
}

void tst_MainWindow::pulseTrainRefusals()
{
    QFETCH(QString, camera);
    QFETCH(QString, line);
    QFETCH(double, widthMs);
    QFETCH(QString, error);
    QVERIFY(m_Window->openCamera(camera, &m_Error));
    QVERIFY(!m_Window->startPulseTrain(line, 50, widthMs, 3, &m_Error));
    QCOMPARE(m_Error, error);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
