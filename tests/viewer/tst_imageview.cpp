// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The Image dock: the newest frame, converted and captioned, or why not.
#include <imageview.h>

#include "testcamera.h"

#include <QtTest>

class tst_ImageView : public QObject
{
    Q_OBJECT

private slots:
    void showsTheNewestFrame_data();
    void showsTheNewestFrame();
};

void tst_ImageView::showsTheNewestFrame_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QString>("pixelFormat");
    QTest::addColumn<QString>("caption");

    QTest::newRow("Mono8") << "exposure-mode" << "Mono8" << "Frame %1  2448x2048 Mono8  at 0.";
    QTest::newRow("Mono12, scaled") << "exposure-mode" << "Mono12" << "Frame %1  2448x2048 Mono12  at 0.";
    QTest::newRow("Bayer") << "line-routing" << "BayerRG8" << "Frame %1  1280x1024 BayerRG8  at 0.";
    QTest::newRow("packed") << "exposure-mode" << "Mono12Packed" << "Frame %1  2448x2048 Mono12Packed  at 0.";
    // clang-format on
}

void tst_ImageView::showsTheNewestFrame()
{
    QFETCH(QString, camera);
    QFETCH(QString, pixelFormat);
    QFETCH(QString, caption);

    TKN::OrvAPI::CameraSystem cameras(ORVIK_CAMERA_DIR);
    const TKN::OrvAPI::CameraPtr opened = cameras.OpenCamera(camera.toStdString());
    const std::shared_ptr<OrvSim::Camera> simulated = OrvSim::Camera::of(opened);
    simulated->timing().useSteppedClock();
    QCOMPARE(simulated->feature("PixelFormat")->SetValue(pixelFormat.toLatin1().constData()),
             TKN::OrvAPI::OrvErrSuccess);

    ImageView view;
    view.resize(400, 340);
    view.setCamera(opened);
    QCOMPARE(view.frameShown(), 0ULL);
    QVERIFY(view.caption().startsWith("No frame yet"));

    QCOMPARE(opened->StartAcquisition(), TKN::OrvAPI::OrvErrSuccess);
    simulated->timing().advance(200000);
    view.refresh();
    QCOMPARE(view.frameShown(), simulated->timing().framesDelivered());
    QVERIFY2(view.caption().startsWith(caption.arg(view.frameShown())), qPrintable(view.caption()));

    // An image is drawn.
    const QImage shown = view.grab().toImage();
    int lit = 0;
    for (int y = 0; y < shown.height() - 30; y += 4) {
        for (int x = 0; x < shown.width(); x += 4)
            lit += qGray(shown.pixel(x, y)) > 100;
    }
    QVERIFY(lit > 1000);
    view.setCamera(nullptr);
}

QTEST_MAIN(tst_ImageView)
#include "tst_imageview.moc"
