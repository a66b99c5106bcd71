// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// ImageView: the newest frame of the open camera, scaled to fit, with its
// frame number and timestamp.
#ifndef IMAGEVIEW_H
#define IMAGEVIEW_H

#include <OrvikCamera.h>

#include <QImage>
#include <QWidget>

class QTimer;

class ImageView : public QWidget
{
    Q_OBJECT

public:
    explicit ImageView(QWidget *parent = nullptr);

    /// Null: no camera open.
    void setCamera(const TKN::OrvAPI::CameraPtr &camera);
    /// The frame shown; 0 for none.
    unsigned long long frameShown() const { return m_Frame; }
    /// What is written under the image: the frame, or why there is none.
    QString caption() const { return m_Caption; }

    QSize sizeHint() const override;

public slots:
    /// Takes the camera's newest frame when there is a new one.
    void refresh();

private slots:
    void onTimer();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TKN::OrvAPI::CameraPtr m_Camera;
    QImage m_Image;
    QString m_Caption;
    unsigned long long m_Frame = 0;
    unsigned long long m_FrameCount = 0;
    QTimer *m_pTimer;
};

#endif // IMAGEVIEW_H
