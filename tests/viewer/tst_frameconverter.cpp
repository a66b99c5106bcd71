// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// Frames as images: deep pixels scaled to 8 bits, colour kept, each Bayer
// pattern demosaiced to the colour it holds, and refusals that say why.
#include <frameconverter.h>

#include "testcamera.h"

#include <QtTest>

#include <set>

using TKN::OrvAPI::FrameImage;

namespace {

/// A uniform frame of one colour in the given format (8 x 8 pixels).
FrameImage solid(const QString &format, QColor colour)
{
    FrameImage frame;
    frame.pixelFormat = format.toStdString();
    frame.width = 8;
    frame.height = 8;
    const bool bayer = format.startsWith("Bayer");
    const int bits = format.contains("16") ? 16 : format.contains("12") ? 12 : format.contains("10") ? 10 : 8;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            QList<int> samples;
            if (format == "RGB8")
                samples << colour.red() << colour.green() << colour.blue();
            else if (format == "BGR8")
                samples << colour.blue() << colour.green() << colour.red();
            else if (!bayer)
                samples << colour.red(); // grey: red = green = blue
            else {
                // Which colour each place of the 2 x 2 tile holds, from the name: BayerRG = R G / G B.
                const QString tile = format.mid(5, 2);
                const QString order = tile == "RG" ? "RGGB" : tile == "GR" ? "GRBG" : tile == "GB" ? "GBRG" : "BGGR";
                const QChar c = order.at((y % 2) * 2 + x % 2);
                samples << (c == 'R' ? colour.red() : c == 'G' ? colour.green() : colour.blue());
            }
            for (int sample : samples) {
                const int value = sample * ((1 << bits) - 1) / 255;
                frame.data.push_back(static_cast<unsigned char>(value & 0xFF));
                if (bits > 8)
                    frame.data.push_back(static_cast<unsigned char>(value >> 8));
            }
        }
    }
    return frame;
}

} // namespace

class tst_FrameConverter : public QObject
{
    Q_OBJECT

private slots:
    void colours_data();
    void colours();
    void refusals_data();
    void refusals();
    void simulatedBayerPattern();
    void packed_data();
    void packed();
    void simulatedPackedFrame();
};

void tst_FrameConverter::colours_data()
{
    // clang-format off
    QTest::addColumn<QString>("format");
    QTest::addColumn<QColor>("colour");

    const QColor orange(200, 100, 40), grey(128, 128, 128), white(255, 255, 255);
    for (const char *mono : { "Mono8", "Mono10", "Mono12", "Mono16" }) {
        QTest::addRow("%s grey", mono) << mono << grey;
        QTest::addRow("%s white", mono) << mono << white;
    }
    for (const char *colourFormat : { "RGB8", "BGR8" })
        QTest::addRow("%s", colourFormat) << colourFormat << orange;
    for (const char *tile : { "RG", "GR", "GB", "BG" }) {
        for (const char *depth : { "8", "12", "16" }) {
            const QString format = QStringLiteral("Bayer%1%2").arg(tile, depth);
            QTest::newRow(qPrintable(format)) << format << orange;
        }
    }
    // clang-format on
}

void tst_FrameConverter::colours()
{
    QFETCH(QString, format);
    QFETCH(QColor, colour);

    QString error = "unset";
    const QImage image = FrameConverter::toImage(solid(format, colour), &error);
    QVERIFY2(!image.isNull(), qPrintable(error));
    QVERIFY(error.isEmpty());
    QCOMPARE(image.size(), QSize(8, 8));
    // Away from the border, where demosaicing has all its neighbours.
    const QColor shown = image.pixelColor(4, 4);
    QVERIFY2(
        qAbs(shown.red() - colour.red()) <= 2 && qAbs(shown.green() - colour.green()) <= 2
            && qAbs(shown.blue() - colour.blue()) <= 2,
        qPrintable(QString("%1 shows %2,%3,%4").arg(format).arg(shown.red()).arg(shown.green()).arg(shown.blue())));
}

void tst_FrameConverter::refusals_data()
{
    // clang-format off
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<QString>("why");

    QTest::newRow("short packed frame") << "Mono12Packed" << 95 << "Mono12Packed frame of 8 x 8 with 95 bytes: too short";
    QTest::newRow("unknown format") << "YUV422_8" << 128 << "Pixel format YUV422_8 is not shown here";
    QTest::newRow("short frame") << "Mono16" << 127 << "Mono16 frame of 8 x 8 with 127 bytes: too short";
    // clang-format on
}

void tst_FrameConverter::refusals()
{
    QFETCH(QString, format);
    QFETCH(int, bytes);
    QFETCH(QString, why);

    FrameImage frame;
    frame.pixelFormat = format.toStdString();
    frame.width = 8;
    frame.height = 8;
    frame.data.assign(bytes, 0x55);
    QString error;
    QVERIFY(FrameConverter::toImage(frame, &error).isNull());
    QCOMPARE(error, why);
}

// The simulated camera mosaics its colour bars itself: OpenCV's demosaicing
// must give the bars back.
void tst_FrameConverter::simulatedBayerPattern()
{
    auto camera = TestCamera::load("line-routing.json");
    camera->timing().useSteppedClock();
    QCOMPARE(camera->valueOf("PixelFormat"), std::string("BayerRG8"));
    QCOMPARE(camera->feature("AcquisitionStart")->RunCommand(), TKN::OrvAPI::OrvErrSuccess);
    camera->timing().advance(100000);
    FrameImage frame;
    QVERIFY(camera->latestFrame(frame));
    const QImage image = FrameConverter::toImage(frame);
    QVERIFY(!image.isNull());
    // Bars of 160 pixels (1280 / 8), read half-way down the bar band.
    const QList<QColor> bars{QColor(235, 235, 235), QColor(235, 235, 16), QColor(16, 235, 235), QColor(16, 235, 16),
                             QColor(235, 16, 235),  QColor(235, 16, 16),  QColor(16, 16, 235),  QColor(16, 16, 16)};
    // Scaled down to fit a view, the aspect kept, the bars still themselves.
    const QImage fitted = FrameConverter::toImage(frame, nullptr, QSize(320, 320));
    QCOMPARE(fitted.size(), QSize(320, 256));
    for (int bar = 1; bar < 8; ++bar) {
        for (const QColor &shown : {image.pixelColor(bar * 160 + 100, 500), fitted.pixelColor(bar * 40 + 25, 125)}) {
            QVERIFY2(
                qAbs(shown.red() - bars[bar].red()) <= 3 && qAbs(shown.green() - bars[bar].green()) <= 3
                    && qAbs(shown.blue() - bars[bar].blue()) <= 3,
                qPrintable(
                    QString("bar %1 shows %2,%3,%4").arg(bar).arg(shown.red()).arg(shown.green()).arg(shown.blue())));
        }
    }
}

void tst_FrameConverter::packed_data()
{
    // clang-format off
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<int>>("grey"); // each pixel scaled to 8 bits, one row

    // GigE Vision: 0xABC and 0x12D, the low nibbles sharing the middle byte.
    QTest::newRow("Mono12Packed") << "Mono12Packed" << QByteArray("\xAB\xDC\x12", 3) << QList<int>{171, 19};
    QTest::newRow("Mono12Packed, odd width") << "Mono12Packed" << QByteArray("\xAB\x0C\x00", 3) << QList<int>{171};
    QTest::newRow("Mono10Packed") << "Mono10Packed" << QByteArray("\xAB\x31\x12", 3) << QList<int>{171, 19};
    // PFNC: one little-endian bit stream.
    QTest::newRow("Mono12p") << "Mono12p" << QByteArray("\xAB\xDC\x12", 3) << QList<int>{202, 19};
    QTest::newRow("Mono10p") << "Mono10p" << QByteArray("\xAB\xDC\x12\x34\x56", 5) << QList<int>{43, 46, 208, 86};
    // clang-format on
}

void tst_FrameConverter::packed()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, grey);

    FrameImage frame;
    frame.pixelFormat = format.toStdString();
    frame.width = grey.size();
    frame.height = 1;
    frame.data.assign(bytes.cbegin(), bytes.cend());
    QString error;
    const QImage image = FrameConverter::toImage(frame, &error);
    QVERIFY2(!image.isNull(), qPrintable(error));
    QCOMPARE(image.size(), QSize(grey.size(), 1));
    for (int x = 0; x < grey.size(); ++x)
        QCOMPARE(qGray(image.pixel(x, 0)), grey.at(x));
}

// The simulated camera packs the format it offers; unpacked, the bars are
// the greys of its Mono12 frames.
void tst_FrameConverter::simulatedPackedFrame()
{
    auto camera = TestCamera::load("exposure-mode.json");
    camera->timing().useSteppedClock();
    QList<int> greys[2];
    const char *formats[] = {"Mono12", "Mono12Packed"};
    for (int f = 0; f < 2; ++f) {
        QCOMPARE(camera->feature("PixelFormat")->SetValue(formats[f]), TKN::OrvAPI::OrvErrSuccess);
        QCOMPARE(camera->feature("AcquisitionStart")->RunCommand(), TKN::OrvAPI::OrvErrSuccess);
        camera->timing().advance(100000);
        FrameImage frame;
        QVERIFY(camera->latestFrame(frame));
        QCOMPARE(frame.pixelFormat, std::string(formats[f]));
        QString error;
        const QImage image = FrameConverter::toImage(frame, &error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        for (int bar = 1; bar < 8; ++bar)
            greys[f] << qGray(image.pixel(bar * image.width() / 8 + 40, image.height() / 3));
        QCOMPARE(camera->feature("AcquisitionStop")->RunCommand(), TKN::OrvAPI::OrvErrSuccess);
    }
    QCOMPARE(greys[1], greys[0]);
    QCOMPARE(std::set<int>(greys[0].cbegin(), greys[0].cend()).size(), std::size_t(7));
}

QTEST_APPLESS_MAIN(tst_FrameConverter)
#include "tst_frameconverter.moc"
