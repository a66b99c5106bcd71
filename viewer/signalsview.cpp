// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "signalsview.h"

#include "timelinemodel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <map>

using TKN::OrvAPI::SignalEvent;

namespace {

// The titles' column: as wide as the longest title, within these bounds.
const int MinLabelWidth = 120;
const int MaxLabelWidth = 320;
const int RowHeight = 22;
const int AxisHeight = 22;
const int Top = 4;
const long long MinSpan = 1000;
const long long MaxSpan = 60000000;

const QColor Background(22, 24, 28);
const QColor Band(32, 35, 41);
const QColor InputColour(120, 220, 120);
const QColor OutputColour(90, 200, 255);
const QColor ExposureColour(255, 205, 70);
const QColor AcquisitionColour(170, 170, 190);
const QColor TakenColour(120, 230, 120);
const QColor MissedColour(255, 80, 80);
const QColor FrameColour(235, 235, 235);
const QColor CursorAColour(255, 150, 60);
const QColor CursorBColour(220, 110, 255);

// A step of 1, 2 or 5 times a power of ten microseconds giving ticks about
// every 100 pixels.
long long tickStep(long long span, int width)
{
    const double wanted = double(span) * 100.0 / std::max(width, 1);
    long long step = 1;
    while (true) {
        for (long long factor : {1LL, 2LL, 5LL}) {
            if (double(step * factor) >= wanted)
                return step * factor;
        }
        step *= 10;
    }
}

QString timeText(long long micros, long long step)
{
    // Enough decimals for the tick step, in seconds.
    int decimals = 0;
    for (long long unit = 1000000; unit > step && decimals < 6; unit /= 10)
        ++decimals;
    return QStringLiteral("%1 s").arg(double(micros) / 1e6, 0, 'f', decimals);
}

} // namespace

SignalsView::SignalsView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("signalsView"));
    setMouseTracking(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void SignalsView::setModel(const TimelineModel *model)
{
    m_Model = model;
    update();
}

void SignalsView::setSignalInfo(const TKN::OrvAPI::SignalInfo &info)
{
    m_Rows.clear();
    if (info.available) {
        for (const std::string &line : info.inputLines)
            m_Rows.append(Row{LevelRow, tr("%1 (in)").arg(QString::fromStdString(line)), line});
        for (const std::string &line : info.otherLines)
            m_Rows.append(Row{LevelRow, QString::fromStdString(line), line});
        for (const std::string &trigger : info.triggers)
            m_Rows.append(Row{TriggerRow, tr("%1 trigger").arg(QString::fromStdString(trigger)), trigger});
        m_Rows.append(Row{LevelRow, tr("Acquisition active"), TimelineModel::AcquisitionRow});
        if (info.exposures)
            m_Rows.append(Row{LevelRow, tr("Exposure"), TimelineModel::ExposureRow});
        m_Rows.append(Row{FrameRow, tr("Frames"), std::string()});
        for (const std::string &line : info.outputLines)
            m_Rows.append(Row{LevelRow, tr("%1 (out)").arg(QString::fromStdString(line)), line, true});
    }
    fitLabelColumn();
    updateGeometry();
    update();
}

void SignalsView::fitLabelColumn()
{
    int widest = 0;
    for (const Row &row : qAsConst(m_Rows))
        widest = std::max(widest, fontMetrics().horizontalAdvance(row.title));
    // The title is drawn 6 px in and clipped 10 px before the plot.
    m_LabelWidth = std::clamp(widest + 16, MinLabelWidth, MaxLabelWidth);
}

void SignalsView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        fitLabelColumn();
    QWidget::changeEvent(event);
}

QStringList SignalsView::rowTitles() const
{
    QStringList titles;
    for (const Row &row : m_Rows)
        titles << row.title;
    return titles;
}

void SignalsView::setEnd(long long end)
{
    m_End = end;
    update();
}

void SignalsView::setSpan(long long span)
{
    span = std::clamp(span, MinSpan, MaxSpan);
    if (span == m_Span)
        return;
    m_Span = span;
    update();
    emit spanChanged(m_Span);
}

void SignalsView::setCursors(long long a, long long b)
{
    m_CursorA = a;
    m_CursorB = b;
    update();
    emit cursorsChanged();
}

QSize SignalsView::sizeHint() const
{
    return QSize(900, Top + RowHeight * std::max(int(m_Rows.size()), 3) + AxisHeight + 4);
}

QSize SignalsView::minimumSizeHint() const
{
    return QSize(m_LabelWidth + 200, Top + RowHeight * 3 + AxisHeight);
}

long long SignalsView::timeAt(int x) const
{
    const int plot = std::max(width() - m_LabelWidth, 1);
    return m_End - m_Span + static_cast<long long>(std::llround(double(x - m_LabelWidth) * double(m_Span) / plot));
}

int SignalsView::xOf(long long time) const
{
    const int plot = std::max(width() - m_LabelWidth, 1);
    const double x = m_LabelWidth + double(time - (m_End - m_Span)) * plot / double(m_Span);
    return static_cast<int>(std::clamp(x, -10.0, double(width() + 10)));
}

int SignalsView::rowTop(int row) const
{
    return Top + row * RowHeight;
}

void SignalsView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.fillRect(QRect(m_LabelWidth, 0, width() - m_LabelWidth, rowTop(m_Rows.size()) + 2), Background);
    if (m_Rows.isEmpty()) {
        painter.setPen(palette().text().color());
        painter.drawText(rect(), Qt::AlignCenter, tr("This camera reports no signal events."));
        return;
    }
    for (int row = 0; row < m_Rows.size(); ++row) {
        if (row % 2)
            painter.fillRect(QRect(m_LabelWidth, rowTop(row), width() - m_LabelWidth, RowHeight), Band);
        painter.setPen(palette().text().color());
        painter.drawText(QRect(6, rowTop(row), m_LabelWidth - 10, RowHeight), Qt::AlignVCenter | Qt::AlignLeft,
                         m_Rows[row].title);
    }
    drawAxis(painter);
    painter.setClipRect(QRect(m_LabelWidth, 0, width() - m_LabelWidth, height()));
    if (m_Model)
        drawRows(painter);
    drawCursors(painter);
}

void SignalsView::drawAxis(QPainter &painter)
{
    const int top = rowTop(m_Rows.size());
    const long long step = tickStep(m_Span, width() - m_LabelWidth);
    const long long first = ((m_End - m_Span) / step) * step;
    painter.setPen(palette().text().color());
    for (long long t = first; t <= m_End; t += step) {
        const int x = xOf(t);
        if (x < m_LabelWidth)
            continue;
        painter.setPen(QColor(70, 74, 82));
        painter.drawLine(x, Top, x, top);
        painter.setPen(palette().text().color());
        painter.drawLine(x, top, x, top + 4);
        painter.drawText(QRect(x - 60, top + 4, 120, AxisHeight - 4), Qt::AlignHCenter | Qt::AlignTop,
                         timeText(t, step));
    }
}

void SignalsView::drawRows(QPainter &painter)
{
    const long long from = m_End - m_Span, to = m_End;
    std::map<std::string, int> levelRows, triggerRows;
    int frameRow = -1;
    for (int row = 0; row < m_Rows.size(); ++row) {
        if (m_Rows[row].kind == LevelRow)
            levelRows[m_Rows[row].key] = row;
        else if (m_Rows[row].kind == TriggerRow)
            triggerRows[m_Rows[row].key] = row;
        else
            frameRow = row;
    }

    // Each level row is one path: start at the level before the stretch,
    // a step at each change.
    struct Trace
    {
        QPainterPath path;
        bool level;
        int highSince; // x where the level went high
        QVector<QRect> highs;
    };
    std::map<int, Trace> traces;
    const auto yOf = [this](int row, bool level) { return rowTop(row) + (level ? 4 : RowHeight - 5); };
    for (const auto &entry : levelRows) {
        Trace trace;
        trace.level = m_Model->levelAt(entry.first, from);
        trace.path.moveTo(xOf(from), yOf(entry.second, trace.level));
        trace.highSince = xOf(from);
        traces[entry.second] = trace;
    }

    const std::size_t end = m_Model->lowerBound(to + 1);
    int lastFrameLabel = -1000;
    for (std::size_t i = m_Model->lowerBound(from); i < end; ++i) {
        const SignalEvent &event = m_Model->at(i);
        const int x = xOf(event.time);
        const std::string rowKey = TimelineModel::levelRow(event);
        if (!rowKey.empty()) {
            const auto found = levelRows.find(rowKey);
            if (found == levelRows.end())
                continue;
            Trace &trace = traces[found->second];
            const bool level =
                event.kind == SignalEvent::ExposureStart || (event.kind != SignalEvent::ExposureEnd && event.level);
            trace.path.lineTo(x, yOf(found->second, trace.level));
            trace.path.lineTo(x, yOf(found->second, level));
            if (trace.level && !level)
                trace.highs.append(QRect(trace.highSince, yOf(found->second, true), x - trace.highSince,
                                         yOf(found->second, false) - yOf(found->second, true)));
            if (!trace.level && level)
                trace.highSince = x;
            trace.level = level;
        } else if (event.kind == SignalEvent::TriggerAccepted || event.kind == SignalEvent::TriggerMissed) {
            const auto found = triggerRows.find(event.source);
            if (found == triggerRows.end())
                continue;
            const int y = rowTop(found->second);
            if (event.kind == SignalEvent::TriggerAccepted) {
                QPolygon arrow;
                arrow << QPoint(x, y + 3) << QPoint(x - 5, y + RowHeight - 4) << QPoint(x + 5, y + RowHeight - 4);
                painter.setPen(Qt::NoPen);
                painter.setBrush(TakenColour);
                painter.drawPolygon(arrow);
            } else {
                painter.setPen(QPen(MissedColour, 2));
                painter.drawLine(x - 5, y + 5, x + 5, y + RowHeight - 5);
                painter.drawLine(x - 5, y + RowHeight - 5, x + 5, y + 5);
            }
        } else if (event.kind == SignalEvent::FrameDelivered && frameRow >= 0) {
            const int y = rowTop(frameRow);
            painter.setPen(QPen(FrameColour, 2));
            painter.drawLine(x, y + 3, x, y + RowHeight - 3);
            if (x - lastFrameLabel > 44) {
                painter.drawText(QRect(x + 3, y, 60, RowHeight), Qt::AlignVCenter | Qt::AlignLeft,
                                 QString::number(event.frame));
                lastFrameLabel = x;
            }
        }
    }

    painter.setBrush(Qt::NoBrush);
    const int now = xOf(to);
    for (auto &entry : traces) {
        const Row &row = m_Rows[entry.first];
        entry.second.path.lineTo(now, yOf(entry.first, entry.second.level));
        if (entry.second.level)
            entry.second.highs.append(QRect(entry.second.highSince, yOf(entry.first, true),
                                            now - entry.second.highSince,
                                            yOf(entry.first, false) - yOf(entry.first, true)));
        const QColor colour = row.key == TimelineModel::ExposureRow      ? ExposureColour
                              : row.key == TimelineModel::AcquisitionRow ? AcquisitionColour
                              : row.output                               ? OutputColour
                                                                         : InputColour;
        // A high level is a filled band, as on a logic analyser: short pulses stay visible.
        QColor fill = colour;
        fill.setAlpha(70);
        for (const QRect &high : entry.second.highs)
            painter.fillRect(high.adjusted(0, 0, 1, 0), fill);
        painter.setPen(QPen(colour, 1.6));
        painter.drawPath(entry.second.path);
    }

    painter.setPen(QPen(MissedColour, 1, Qt::DashLine));
    for (long long gap : m_Model->gaps()) {
        if (gap >= from && gap <= to) {
            const int x = xOf(gap);
            painter.drawLine(x, Top, x, rowTop(m_Rows.size()));
            painter.drawText(x + 3, Top + 12, tr("events lost"));
        }
    }
}

void SignalsView::drawCursors(QPainter &painter)
{
    const int bottom = rowTop(m_Rows.size());
    for (int which = 0; which < 2; ++which) {
        const long long t = which == 0 ? m_CursorA : m_CursorB;
        if (t < 0 || t < m_End - m_Span || t > m_End)
            continue;
        const int x = xOf(t);
        painter.setPen(QPen(which == 0 ? CursorAColour : CursorBColour, 1));
        painter.drawLine(x, Top, x, bottom);
        painter.drawText(x + 3, bottom - 4, which == 0 ? QStringLiteral("A") : QStringLiteral("B"));
    }
}

void SignalsView::mousePressEvent(QMouseEvent *event)
{
    m_PressX = event->pos().x();
    m_PressEnd = m_End;
    m_Dragging = false;
}

void SignalsView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_PressX < 0)
        return;
    const int dx = event->pos().x() - m_PressX;
    if (!m_Dragging && std::abs(dx) < 4)
        return;
    m_Dragging = true;
    const int plot = std::max(width() - m_LabelWidth, 1);
    m_End = m_PressEnd - static_cast<long long>(double(dx) * double(m_Span) / plot);
    emit panned();
    update();
}

void SignalsView::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = !m_Dragging && m_PressX >= 0 && event->pos().x() >= m_LabelWidth;
    m_PressX = -1;
    m_Dragging = false;
    if (!click)
        return;
    const long long t = timeAt(event->pos().x());
    if (event->button() == Qt::RightButton || (event->modifiers() & Qt::ShiftModifier))
        setCursors(m_CursorA, t);
    else
        setCursors(t, m_CursorB);
}

void SignalsView::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    // The time under the pointer stays where it is.
    const int x = static_cast<int>(event->position().x());
    const long long anchor = x >= m_LabelWidth ? timeAt(x) : m_End;
    const long long oldSpan = m_Span;
    setSpan(delta > 0 ? m_Span / 2 : m_Span * 2);
    if (m_Span != oldSpan && anchor != m_End)
        m_End = anchor + static_cast<long long>(double(m_End - anchor) * double(m_Span) / double(oldSpan));
    update();
    event->accept();
}
