// Guides for lining a printer up with a sheet of labels: a label's outline and marks at its
// corners, drawn inside the label so that neighbouring labels' guides never overlap.
#pragma once

#include <QRectF>

class QPainter;

namespace sw::drawing {

// The label's edge as a line `lineWidth` wide, its outer side on the edge.
void PaintLabelOutline(QPainter& painter, const QRectF& label, double lineWidth);

// An L at each corner of the label, each arm `length` long along an edge.
void PaintCornerMarks(QPainter& painter, const QRectF& label, double length, double lineWidth);

}  // namespace sw::drawing
