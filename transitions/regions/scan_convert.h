#pragma once

#include "transitions/regions/span_region.h"

#include <QPoint>
#include <span>

namespace kalmo::transitions::regions {

// Scan conversion of the curved and polygonal shapes into a SpanBuilder. A pixel belongs to
// a shape when its centre does, so right and bottom edges fall outside as with rectangles.

// Polygon (closed implicitly) filled with the winding (non-zero) rule.
void addPolygon(SpanBuilder &builder, std::span<const QPoint> points);

// Rectangle (left, top, right, bottom) with corners rounded by an ellipse of
// cornerWidth x cornerHeight; the corner ellipse is limited to the rectangle.
void addRoundRect(SpanBuilder &builder, int left, int top, int right, int bottom, int cornerWidth,
                  int cornerHeight);

// Ellipse inscribed in (left, top, right, bottom).
void addEllipse(SpanBuilder &builder, int left, int top, int right, int bottom);

} // namespace kalmo::transitions::regions
