// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// Draws the quick trigger mode icons (Edge, Level, Bulk) into a folder.
// Not part of the build; run by hand after changing a drawing:
//   cmake --build <build> --target drawicons && <build>/bin/drawicons plugin/images/Images
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>

#include <cstdio>
#include <functional>

namespace {

const int Size = 256;
// The buttons show the icons at about 42 pixels, cut to the button's 28
// pixel height: lines must stay thick, the drawing within the middle band,
// and the background transparent.
const qreal Stroke = 18.0;
const QColor Wire(31, 59, 87);
const QColor Accent(224, 123, 0);
const QColor AccentFill(224, 123, 0, 90);
const qreal High = 76.0;
const qreal Low = 184.0;

QPen wirePen(const QColor &color)
{
    return QPen(color, Stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawArrowHead(QPainter &painter, QPointF tip, QPointF direction, qreal length)
{
    const QPointF normal(-direction.y(), direction.x());
    const QPointF base = tip - direction * length;
    QPolygonF head;
    head << tip << base + normal * length * 0.6 << base - normal * length * 0.6;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Accent);
    painter.drawPolygon(head);
}

// A falling edge on the line, marked by an arrow.
void drawEdge(QPainter &painter)
{
    const qreal edgeX = 128.0;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(wirePen(Wire));
    painter.drawPolyline(QPolygonF() << QPointF(34, High) << QPointF(edgeX, High));
    painter.drawPolyline(QPolygonF() << QPointF(edgeX, Low) << QPointF(222, Low));
    painter.setPen(wirePen(Accent));
    painter.drawLine(QPointF(edgeX, High), QPointF(edgeX, Low));
    painter.setPen(QPen(Accent, 12.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(178, 92), QPointF(178, 142));
    drawArrowHead(painter, QPointF(178, 170), QPointF(0, 1), 36);
}

// One pulse whose high level, shaded, is the exposure time.
void drawLevel(QPainter &painter)
{
    const qreal rise = 76.0, fall = 180.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(AccentFill);
    painter.drawRect(QRectF(rise, High, fall - rise, Low - High));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(wirePen(Wire));
    painter.drawPolyline(QPolygonF() << QPointF(34, Low) << QPointF(rise, Low) << QPointF(rise, High));
    painter.drawPolyline(QPolygonF() << QPointF(fall, High) << QPointF(fall, Low) << QPointF(222, Low));
    painter.setPen(wirePen(Accent));
    painter.drawLine(QPointF(rise, High), QPointF(fall, High));
}

// A burst of short pulses: one start, a series of frames.
void drawBulk(QPainter &painter)
{
    const int pulses = 3;
    const qreal first = 46.0, width = 38.0, pitch = 64.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(AccentFill);
    for (int i = 0; i < pulses; ++i)
        painter.drawRect(QRectF(first + i * pitch, High, width, Low - High));
    QPolygonF wire;
    wire << QPointF(28, Low);
    for (int i = 0; i < pulses; ++i) {
        const qreal x = first + i * pitch;
        wire << QPointF(x, Low) << QPointF(x, High) << QPointF(x + width, High) << QPointF(x + width, Low);
    }
    wire << QPointF(228, Low);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(wirePen(Wire));
    painter.drawPolyline(wire);
}

bool writeIcon(const QDir &dir, const char *name, const std::function<void(QPainter &)> &draw)
{
    QImage image(Size, Size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    const QString path = dir.filePath(QString::fromLatin1(name));
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "drawicons: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawicons OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const bool ok = writeIcon(dir, "triggering_edge_256.png", drawEdge)
                    && writeIcon(dir, "triggering_level_256.png", drawLevel)
                    && writeIcon(dir, "triggering_bulk_256.png", drawBulk);
    return ok ? 0 : 1;
}
