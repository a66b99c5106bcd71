// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The Signals dock: its rows for each camera, what the strip draws of a
// camera's run, pausing, and the cursors' reading of times and intervals.
#include <signalspanel.h>
#include <signalsview.h>

#include "testcamera.h"

#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>
#include <QtTest>

namespace {

const long long Ms = 1000;

bool rowHasColour(const QImage &image, int top, int height, QColor colour)
{
    for (int y = top; y < top + height; ++y) {
        for (int x = 200; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (qAbs(pixel.red() - colour.red()) < 25 && qAbs(pixel.green() - colour.green()) < 25
                && qAbs(pixel.blue() - colour.blue()) < 25)
                return true;
        }
    }
    return false;
}

} // namespace

class tst_SignalsPanel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rowsOfEachCamera_data();
    void rowsOfEachCamera();
    void drawsWhatTheCameraDid();
    void pauseHoldsTheStrip();
    void cursorsReadTimesAndIntervals();

private:
    /// The simulated camera behind a camera of the camera system, on its stepped clock.
    TKN::OrvAPI::CameraPtr open(const char *name)
    {
        TKN::OrvAPI::CameraPtr camera = m_Cameras->OpenCamera(name);
        m_Simulated = OrvSim::Camera::of(camera);
        m_Simulated->timing().useSteppedClock();
        return camera;
    }
    void write(const char *feature, const char *value)
    {
        QCOMPARE(m_Simulated->feature(feature)->SetValue(value), TKN::OrvAPI::OrvErrSuccess);
    }

    std::unique_ptr<TKN::OrvAPI::CameraSystem> m_Cameras;
    std::shared_ptr<OrvSim::Camera> m_Simulated;
    SignalsPanel *m_Panel = nullptr;
};

void tst_SignalsPanel::init()
{
    m_Cameras.reset(new TKN::OrvAPI::CameraSystem(ORVIK_CAMERA_DIR));
    m_Panel = new SignalsPanel;
    m_Panel->resize(1000, 400);
}

void tst_SignalsPanel::cleanup()
{
    delete m_Panel;
    m_Simulated.reset();
    m_Cameras.reset();
}

void tst_SignalsPanel::rowsOfEachCamera_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QStringList>("rows");
    const QStringList middle { "Acquisition active", "Exposure", "Frames" };
    QTest::newRow("exposure-mode") << "exposure-mode"
                                   << QStringList { "Line0 (in)", "Line1 (in)", "Line4 (in)", "Line5 (in)",
                                                    "AcquisitionStart trigger", "FrameStart trigger" }
                                          + middle + QStringList { "Line2 (out)", "Line3 (out)" };
    QTest::newRow("syncout") << "syncout"
                             << QStringList { "Line1 (in)", "Line2 (in)", "FrameStart trigger" } + middle
                                    + QStringList { "SyncOut1 (out)", "SyncOut2 (out)", "SyncOut3 (out)",
                                                    "SyncOut4 (out)" };
    QTest::newRow("no trigger I/O") << "no-trigger-io" << middle;
    // clang-format on
}

void tst_SignalsPanel::rowsOfEachCamera()
{
    QFETCH(QString, camera);
    QFETCH(QStringList, rows);
    m_Panel->setCamera(open(camera.toLatin1().constData()));
    QCOMPARE(m_Panel->view()->rowTitles(), rows);
    // Each title fits its column, in the default font and in a large one.
    SignalsView *view = m_Panel->view();
    for (int points : {0, 16}) {
        if (points) {
            QFont font = view->font();
            font.setPointSize(points);
            view->setFont(font);
        }
        for (const QString &title : rows)
            QVERIFY2(view->fontMetrics().horizontalAdvance(title) + 16 <= view->labelColumnWidth(), qPrintable(title));
    }
    m_Panel->setCamera(nullptr);
    QCOMPARE(m_Panel->view()->rowTitles(), QStringList());
}

void tst_SignalsPanel::drawsWhatTheCameraDid()
{
    const TKN::OrvAPI::CameraPtr camera = open("exposure-mode");
    for (const auto &setting : {std::make_pair("TriggerSelector", "FrameStart"), std::make_pair("TriggerMode", "On"),
                                std::make_pair("TriggerActivation", "FallingEdge")})
        write(setting.first, setting.second);
    QCOMPARE(camera->StartAcquisition(), TKN::OrvAPI::OrvErrSuccess);
    m_Panel->setCamera(camera);
    // One pulse the camera takes, then one that comes while it exposes.
    m_Simulated->timing().pulseTrain("Line0", 4 * Ms, 2 * Ms, 2);
    m_Simulated->timing().advance(40 * Ms);
    m_Panel->refresh();
    SignalsView *view = m_Panel->view();
    view->setSpan(50 * Ms);
    QCOMPARE(view->end(), 40 * Ms);
    QCOMPARE(m_Panel->timeline().size(), m_Simulated->timing().events().size());

    const QImage image = view->grab().toImage();
    const int rowHeight = 22, top = 4;
    const QStringList rows = view->rowTitles();
    const auto rowTop = [&](const QString &title) { return top + rows.indexOf(title) * rowHeight; };
    QVERIFY(rowHasColour(image, rowTop("FrameStart trigger"), rowHeight, QColor(120, 230, 120)));
    QVERIFY(rowHasColour(image, rowTop("FrameStart trigger"), rowHeight, QColor(255, 80, 80)));
    QVERIFY(!rowHasColour(image, rowTop("AcquisitionStart trigger"), rowHeight, QColor(255, 80, 80)));
    // Line0 is drawn at both levels, the exposure at its high level.
    QVERIFY(rowHasColour(image, rowTop("Line0 (in)") + 3, 3, QColor(120, 220, 120)));
    QVERIFY(rowHasColour(image, rowTop("Line0 (in)") + rowHeight - 6, 3, QColor(120, 220, 120)));
    QVERIFY(rowHasColour(image, rowTop("Exposure") + 3, 3, QColor(255, 205, 70)));
    QVERIFY(!rowHasColour(image, rowTop("Line1 (in)") + 3, 3, QColor(120, 220, 120)));
}

void tst_SignalsPanel::pauseHoldsTheStrip()
{
    const TKN::OrvAPI::CameraPtr camera = open("exposure-mode");
    m_Panel->setCamera(camera);
    m_Simulated->timing().advance(100 * Ms);
    m_Panel->refresh();
    QCOMPARE(m_Panel->view()->end(), 100 * Ms);
    m_Panel->findChild<QToolButton *>("buttonPause")->click();
    QVERIFY(m_Panel->isPaused());
    QCOMPARE(m_Simulated->timing().pulse("Line0", 5 * Ms), TKN::OrvAPI::OrvErrSuccess);
    m_Simulated->timing().advance(100 * Ms);
    m_Panel->refresh();
    // Held where it was, yet still recording.
    QCOMPARE(m_Panel->view()->end(), 100 * Ms);
    QCOMPARE(m_Panel->timeline().size(), std::size_t(2));
    m_Panel->findChild<QToolButton *>("buttonPause")->click();
    QCOMPARE(m_Panel->view()->end(), 200 * Ms);

    // Dragging the strip stops it following.
    QTest::mousePress(m_Panel->view(), Qt::LeftButton, {}, QPoint(600, 30));
    QMouseEvent drag(QEvent::MouseMove, QPointF(500, 30), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_Panel->view(), &drag);
    QTest::mouseRelease(m_Panel->view(), Qt::LeftButton, {}, QPoint(500, 30));
    QVERIFY(m_Panel->isPaused());
    QVERIFY(m_Panel->view()->end() > 200 * Ms);
}

void tst_SignalsPanel::cursorsReadTimesAndIntervals()
{
    m_Panel->setCamera(open("exposure-mode"));
    m_Panel->show();
    SignalsView *view = m_Panel->view();
    view->setSpan(2000 * Ms);
    view->setEnd(3000 * Ms);
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(300, 30));
    QTest::mouseClick(view, Qt::RightButton, {}, QPoint(700, 30));
    const long long a = view->timeAt(300), b = view->timeAt(700);
    QCOMPARE(view->cursorA(), a);
    QCOMPARE(view->cursorB(), b);
    QVERIFY(a > 1000 * Ms && b > a && b < 3000 * Ms);
    QCOMPARE(m_Panel->findChild<QLabel *>("labelCursors")->text(), SignalsPanel::intervalText(a, b));
    QCOMPARE(SignalsPanel::intervalText(1000000, 1050000),
             QString::fromUtf8("A 1.000000 s   B 1.050000 s   B\u2212A 50.000 ms (20.00 Hz)"));
    QCOMPARE(SignalsPanel::intervalText(2500, -1), QStringLiteral("A 0.002500 s"));
}

QTEST_MAIN(tst_SignalsPanel)
#include "tst_signalspanel.moc"
