#pragma once

#include "transitions/regions/span_region.h"

#include <QPoint>
#include <span>
#include <vector>

namespace kalmo::transitions::regions {

// Polygon region of a w x h frame, winding fill rule.
SpanRegion CreatePolygonRegion(std::span<const QPoint> points, int w, int h);

// Turns each point about (cx, cy) by `angle` radians; positive turns clockwise on screen
// (y points down). Results are rounded half to even.
void RotatePoints(std::span<QPoint> points, int cx, int cy, double angle);

// Fan polygon: the centre, then `count` points on the circle of radius r from `start`
// towards `end`, the last one a step short of `end`.
SpanRegion CreateFanRegion(int cx, int cy, int r, int count, double end, double start, int w,
                           int h);

} // namespace kalmo::transitions::regions
