// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// SignalsView: a logic-analyser strip of a camera's signals: one row per
// input line, per trigger (taken and missed), the exposure, the frames and
// one per output line, on one time axis, with two cursors.
#ifndef SIGNALSVIEW_H
#define SIGNALSVIEW_H

#include <OrvikCamera.h>

#include <QVector>
#include <QWidget>

class TimelineModel;

class SignalsView : public QWidget
{
    Q_OBJECT

public:
    explicit SignalsView(QWidget *parent = nullptr);

    /// The events to draw; not owned.
    void setModel(const TimelineModel *model);
    /// Builds the rows from what the camera reports.
    void setSignalInfo(const TKN::OrvAPI::SignalInfo &info);
    QStringList rowTitles() const;
    /// The titles' column: as wide as the longest title in the current font.
    int labelColumnWidth() const { return m_LabelWidth; }

    /// The stretch shown ends here (microseconds on the camera's signal clock).
    void setEnd(long long end);
    long long end() const { return m_End; }
    /// How much time the strip shows, within 1 ms and 60 s.
    void setSpan(long long span);
    long long span() const { return m_Span; }
    /// The time under a point of the strip.
    long long timeAt(int x) const;

    /// Cursors A and B; -1: not placed.
    void setCursors(long long a, long long b);
    long long cursorA() const { return m_CursorA; }
    long long cursorB() const { return m_CursorB; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void cursorsChanged();
    /// The user dragged the strip or turned the wheel: the view no longer follows.
    void panned();
    void spanChanged(long long span);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    enum RowKind { LevelRow, TriggerRow, FrameRow };
    struct Row
    {
        RowKind kind;
        QString title;
        std::string key; // level row or trigger selector
        bool output = false;
    };

    void fitLabelColumn();
    int xOf(long long time) const;
    int rowTop(int row) const;
    void drawAxis(QPainter &painter);
    void drawRows(QPainter &painter);
    void drawCursors(QPainter &painter);

    const TimelineModel *m_Model = nullptr;
    QVector<Row> m_Rows;
    int m_LabelWidth = 120;
    long long m_End = 0;
    long long m_Span = 2000000;
    long long m_CursorA = -1;
    long long m_CursorB = -1;
    int m_PressX = -1;
    long long m_PressEnd = 0;
    bool m_Dragging = false;
};

#endif // SIGNALSVIEW_H
