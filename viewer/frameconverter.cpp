// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "frameconverter.h"

#include <algorithm>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

namespace {

struct Format
{
    const char *name;
    int bits;       // significant bits per sample
    int channels;   // in the frame
    int bayerToRgb; // OpenCV's demosaicing code, -1 for none
};

// OpenCV names a Bayer pattern by the second row's second and third pixels,
// so its "BG" is the PFNC "RG" (red at the top left), and so on.
const Format Formats[] = {
    {"Mono8", 8, 1, -1},
    {"Mono10", 10, 1, -1},
    {"Mono12", 12, 1, -1},
    {"Mono14", 14, 1, -1},
    {"Mono16", 16, 1, -1},
    {"RGB8", 8, 3, -1},
    {"BGR8", 8, 3, cv::COLOR_BGR2RGB},
    {"BayerRG8", 8, 1, cv::COLOR_BayerBG2RGB},
    {"BayerGR8", 8, 1, cv::COLOR_BayerGB2RGB},
    {"BayerGB8", 8, 1, cv::COLOR_BayerGR2RGB},
    {"BayerBG8", 8, 1, cv::COLOR_BayerRG2RGB},
    {"BayerRG10", 10, 1, cv::COLOR_BayerBG2RGB},
    {"BayerGR10", 10, 1, cv::COLOR_BayerGB2RGB},
    {"BayerGB10", 10, 1, cv::COLOR_BayerGR2RGB},
    {"BayerBG10", 10, 1, cv::COLOR_BayerRG2RGB},
    {"BayerRG12", 12, 1, cv::COLOR_BayerBG2RGB},
    {"BayerGR12", 12, 1, cv::COLOR_BayerGB2RGB},
    {"BayerGB12", 12, 1, cv::COLOR_BayerGR2RGB},
    {"BayerBG12", 12, 1, cv::COLOR_BayerRG2RGB},
    {"BayerRG16", 16, 1, cv::COLOR_BayerBG2RGB},
    {"BayerGR16", 16, 1, cv::COLOR_BayerGB2RGB},
    {"BayerGB16", 16, 1, cv::COLOR_BayerGR2RGB},
    {"BayerBG16", 16, 1, cv::COLOR_BayerRG2RGB},
};

// Packed formats, unpacked to 16-bit samples first: GigE Vision's Mono10Packed
// and Mono12Packed put two pixels in three bytes, the high bits of each in a
// byte of its own and the low bits of both in the middle byte; the PFNC's
// Mono10p and Mono12p are one little-endian bit stream.
struct Packed
{
    const char *name;
    const char *unpacked;
    int bits;
    bool gigeVision;
};

const Packed PackedFormats[] = {
    {"Mono10Packed", "Mono10", 10, true},
    {"Mono12Packed", "Mono12", 12, true},
    {"Mono10p", "Mono10", 10, false},
    {"Mono12p", "Mono12", 12, false},
};

std::size_t packedBytes(const Packed &packed, std::size_t pixels)
{
    if (packed.gigeVision)
        return (pixels + 1) / 2 * 3;
    return (pixels * packed.bits + 7) / 8;
}

void unpack(const Packed &packed, const std::vector<unsigned char> &data, std::size_t pixels,
            std::vector<unsigned char> &samples)
{
    samples.resize(pixels * 2);
    const auto put = [&samples](std::size_t i, unsigned value) {
        samples[i * 2] = static_cast<unsigned char>(value & 0xFF);
        samples[i * 2 + 1] = static_cast<unsigned char>(value >> 8);
    };
    if (packed.gigeVision) {
        const int low = packed.bits - 8; // low bits of each pixel in the middle byte
        const unsigned mask = (1u << low) - 1;
        for (std::size_t i = 0; i < pixels; i += 2) {
            const unsigned char *triple = &data[i / 2 * 3];
            put(i, (unsigned(triple[0]) << low) | (triple[1] & mask));
            if (i + 1 < pixels)
                put(i + 1, (unsigned(triple[2]) << low) | ((triple[1] >> 4) & mask));
        }
        return;
    }
    const unsigned mask = (1u << packed.bits) - 1;
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::size_t bit = i * packed.bits;
        unsigned value = data[bit / 8] | unsigned(bit / 8 + 1 < data.size() ? data[bit / 8 + 1] : 0) << 8
                         | unsigned(bit / 8 + 2 < data.size() ? data[bit / 8 + 2] : 0) << 16;
        put(i, (value >> (bit % 8)) & mask);
    }
}

const Packed *packedOf(const std::string &name)
{
    for (const Packed &packed : PackedFormats) {
        if (name == packed.name)
            return &packed;
    }
    return nullptr;
}

const Format *formatOf(const std::string &name)
{
    for (const Format &format : Formats) {
        if (name == format.name)
            return &format;
    }
    return nullptr;
}

QImage fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return QImage();
}

} // namespace

QImage FrameConverter::toImage(const TKN::OrvAPI::FrameImage &frame, QString *error, const QSize &fit)
{
    const QString name = QString::fromStdString(frame.pixelFormat);
    if (const Packed *packed = packedOf(frame.pixelFormat)) {
        const std::size_t pixels =
            frame.width > 0 && frame.height > 0 ? static_cast<std::size_t>(frame.width) * frame.height : 0;
        if (pixels == 0 || frame.data.size() < packedBytes(*packed, pixels))
            return fail(error, tr("%1 frame of %2 x %3 with %4 bytes: too short")
                                   .arg(name)
                                   .arg(frame.width)
                                   .arg(frame.height)
                                   .arg(frame.data.size()));
        TKN::OrvAPI::FrameImage unpacked;
        unpacked.pixelFormat = packed->unpacked;
        unpacked.width = frame.width;
        unpacked.height = frame.height;
        unpack(*packed, frame.data, pixels, unpacked.data);
        return toImage(unpacked, error, fit);
    }
    const Format *format = formatOf(frame.pixelFormat);
    if (!format)
        return fail(error, tr("Pixel format %1 is not shown here").arg(name));
    const int depth = format->bits > 8 ? CV_16U : CV_8U;
    const std::size_t needed =
        static_cast<std::size_t>(frame.width) * frame.height * format->channels * (format->bits > 8 ? 2 : 1);
    if (frame.width <= 0 || frame.height <= 0 || frame.data.size() < needed)
        return fail(error, tr("%1 frame of %2 x %3 with %4 bytes: too short")
                               .arg(name)
                               .arg(frame.width)
                               .arg(frame.height)
                               .arg(frame.data.size()));

    try {
        // A view of the frame's bytes; nothing is written through it.
        const cv::Mat raw(frame.height, frame.width, CV_MAKETYPE(depth, format->channels),
                          const_cast<unsigned char *>(frame.data.data()));
        cv::Mat image = raw;
        if (format->bayerToRgb >= 0)
            cv::cvtColor(raw, image, format->bayerToRgb);
        if (depth == CV_16U) {
            cv::Mat scaled;
            image.convertTo(scaled, CV_8U, 255.0 / ((1 << format->bits) - 1));
            image = scaled;
        }
        // Area averaging: fast on large frames and free of the aliasing of dropping pixels.
        if (fit.isValid() && (image.cols > fit.width() || image.rows > fit.height())) {
            const QSize size = QSize(image.cols, image.rows).scaled(fit.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio);
            cv::Mat smaller;
            cv::resize(image, smaller, cv::Size(std::max(size.width(), 1), std::max(size.height(), 1)), 0, 0,
                       cv::INTER_AREA);
            image = smaller;
        }
        const bool colour = image.channels() == 3;
        const QImage view(image.data, image.cols, image.rows, static_cast<int>(image.step),
                          colour ? QImage::Format_RGB888 : QImage::Format_Grayscale8);
        if (error)
            error->clear();
        return view.copy();
    } catch (const cv::Exception &e) {
        return fail(error, QStringLiteral("%1: %2").arg(name, QString::fromStdString(e.what())));
    }
}
