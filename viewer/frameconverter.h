// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// FrameConverter: a camera's frame as an image to show. Bayer mosaics are
// demosaiced by OpenCV, deeper pixels scaled to 8 bits.
#ifndef FRAMECONVERTER_H
#define FRAMECONVERTER_H

#include <OrvikCamera.h>

#include <QCoreApplication>
#include <QImage>
#include <QString>

class FrameConverter
{
    Q_DECLARE_TR_FUNCTIONS(FrameConverter)

public:
    /// An RGB888 or Grayscale8 image; null, with *error saying why, for a
    /// pixel format it does not know or a frame shorter than its size needs.
    /// With `fit`, a larger image is scaled down to fit in it, aspect kept.
    static QImage toImage(const TKN::OrvAPI::FrameImage &frame, QString *error = nullptr, const QSize &fit = QSize());
};

#endif // FRAMECONVERTER_H
