// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "imageview.h"

#include "frameconverter.h"

#include <QPainter>
#include <QTimer>

namespace {

// Often enough to watch triggered frames come, seldom enough to leave the
// GUI thread free: each new frame is converted and scaled here.
const int RefreshIntervalMs = 100;
const int CaptionHeight = 20;

} // namespace

ImageView::ImageView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("imageView"));
    setMinimumSize(200, 150);
    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(RefreshIntervalMs);
    connect(m_pTimer, SIGNAL(timeout()), this, SLOT(onTimer()));
    setCamera(nullptr);
}

QSize ImageView::sizeHint() const
{
    return QSize(360, 300);
}

void ImageView::setCamera(const TKN::OrvAPI::CameraPtr &camera)
{
    m_Camera = camera;
    m_Image = QImage();
    m_Frame = 0;
    m_FrameCount = 0;
    m_Caption = camera ? tr("No frame yet: start acquisition (F5)") : tr("No camera open");
    if (camera)
        m_pTimer->start();
    else
        m_pTimer->stop();
    refresh();
    update();
}

// A closed dock costs nothing: frames are only converted while they can be seen.
void ImageView::onTimer()
{
    if (isVisible())
        refresh();
}

void ImageView::refresh()
{
    if (!m_Camera)
        return;
    // Cheap to ask first: a simulated camera renders its image on request.
    const unsigned long long count = m_Camera->GetFrameCount();
    if (m_Camera->CountsFrames() && count == m_FrameCount && m_Frame != 0)
        return;
    m_FrameCount = count;
    TKN::OrvAPI::FrameImage frame;
    if (!m_Camera->GetLatestFrame(frame) || frame.frame == m_Frame)
        return;
    m_Frame = frame.frame;
    QString error;
    const QImage image =
        FrameConverter::toImage(frame, &error, (size() - QSize(0, CaptionHeight)).expandedTo(QSize(1, 1)));
    const QString format = QString::fromStdString(frame.pixelFormat);
    if (image.isNull()) {
        m_Image = QImage();
        m_Caption = tr("Frame %1: %2").arg(frame.frame).arg(error);
    } else {
        // Scaled once, by the converter, not at every paint.
        m_Image = image;
        // The time on the Signals dock's clock; the camera's own timestamp counts from where the camera likes.
        m_Caption = tr("Frame %1  %2x%3 %4  at %5 s")
                        .arg(frame.frame)
                        .arg(frame.width)
                        .arg(frame.height)
                        .arg(format)
                        .arg(double(frame.time) / 1e6, 0, 'f', 6);
        setToolTip(tr("Camera timestamp: %1 ns").arg(frame.timestamp));
    }
    update();
}

void ImageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QRect area(0, 0, width(), height() - CaptionHeight);
    if (!m_Image.isNull()) {
        const QSize shown = m_Image.size().scaled(area.size(), Qt::KeepAspectRatio);
        const QRect target(area.x() + (area.width() - shown.width()) / 2,
                           area.y() + (area.height() - shown.height()) / 2, shown.width(), shown.height());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, m_Image);
    }
    painter.setPen(Qt::white);
    painter.drawText(QRect(4, height() - CaptionHeight, width() - 8, CaptionHeight), Qt::AlignVCenter | Qt::AlignLeft,
                     m_Caption);
}
