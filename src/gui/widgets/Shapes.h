#pragma once
// Anti-aliased vector shapes for the drawn glyphs (check marks, arrows, dialog icons, the
// switch's power symbol). Each shape is a signed distance field sampled at pixel centres;
// coverage = clamp(0.5 - distance, 0, 1). Local canvas coordinates, source-over.
#include "graphics/Canvas.h"

#include <span>

namespace ostinel::gui {

struct PointF {
    float x = 0;
    float y = 0;
};

void FillCircle(Canvas& canvas, PointF centre, float radius, Color color);
// A ring of the given stroke width centred on the radius.
void StrokeCircle(Canvas& canvas, PointF centre, float radius, float width, Color color);
// Part of a ring with round caps; angles in degrees clockwise from 12 o'clock, drawn clockwise
// from `fromDeg` to `toDeg`.
void StrokeArc(Canvas& canvas, PointF centre, float radius, float width, float fromDeg, float toDeg,
               Color color);
// Connected segments with round caps and joins.
void StrokePolyline(Canvas& canvas, std::span<const PointF> points, float width, Color color);
// A simple polygon, grown by `grow` pixels on every side (rounded corners of that radius).
void FillPolygon(Canvas& canvas, std::span<const PointF> points, Color color, float grow = 0.0f);

} // namespace ostinel::gui
