// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// SignalsPanel: the "Signals" dock: the signal strip of the open camera with
// pause, zoom, two cursors that read times and intervals, and a word on how
// the camera's levels are known.
#ifndef SIGNALSPANEL_H
#define SIGNALSPANEL_H

#include "timelinemodel.h"

#include <OrvikCamera.h>

#include <QWidget>

class QLabel;
class QTimer;
class QToolButton;
class SignalsView;

class SignalsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit SignalsPanel(QWidget *parent = nullptr);

    /// Null: no camera open.
    void setCamera(const TKN::OrvAPI::CameraPtr &camera);
    const TimelineModel &timeline() const { return m_Timeline; }
    SignalsView *view() const { return m_pView; }
    bool isPaused() const;

    static QString intervalText(long long a, long long b);

    /// Room for every row.
    QSize sizeHint() const override;

public slots:
    /// Reads the camera's new events; the strip follows the present unless paused.
    void refresh();
    void setPaused(bool paused);
    void zoomIn();
    void zoomOut();
    void clear();

private slots:
    void onCursorsChanged();
    void onSpanChanged();

private:
    TKN::OrvAPI::CameraPtr m_Camera;
    TimelineModel m_Timeline;
    SignalsView *m_pView;
    QToolButton *m_pButtonPause;
    QLabel *m_pLabelSpan;
    QLabel *m_pLabelCursors;
    QLabel *m_pLabelNote;
    QTimer *m_pTimer;
};

#endif // SIGNALSPANEL_H
