#include "drawing/label_guides.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>

namespace sw::drawing {
namespace {

QPen GuidePen(double lineWidth) {
    QPen pen(Qt::black, lineWidth);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

}  // namespace

void PaintLabelOutline(QPainter& painter, const QRectF& label, double lineWidth) {
    const double half = lineWidth / 2;
    painter.save();
    painter.setPen(GuidePen(lineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(label.adjusted(half, half, -half, -half));
    painter.restore();
}

void PaintCornerMarks(QPainter& painter, const QRectF& label, double length, double lineWidth) {
    const double half = lineWidth / 2;
    const QRectF r = label.adjusted(half, half, -half, -half);
    // Arms no longer than half the label, so that the marks of one label never meet.
    const double ax = std::min(length, r.width() / 2);
    const double ay = std::min(length, r.height() / 2);
    QPainterPath path;
    const auto corner = [&](QPointF at, double sx, double sy) {
        path.moveTo(at.x() + sx * ax, at.y());
        path.lineTo(at);
        path.lineTo(at.x(), at.y() + sy * ay);
    };
    corner(r.topLeft(), 1, 1);
    corner(r.topRight(), -1, 1);
    corner(r.bottomLeft(), 1, -1);
    corner(r.bottomRight(), -1, -1);
    painter.save();
    painter.setPen(GuidePen(lineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.restore();
}

}  // namespace sw::drawing
