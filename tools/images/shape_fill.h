// Painting shapes given by signed distance functions (negative inside, in pixels) with
// smooth edges. Pixel (x, y) covers [x, x+1] × [y, y+1]; its centre is (x + 0.5, y + 0.5).
#pragma once

#include <functional>

#include "tools/images/raster.h"
#include "tools/images/stroke_paths.h"

using SignedDistance = std::function<double(Point)>;

// Paints `colour` over every pixel of `area` by the shape's coverage times `opacity`.
void FillShape(ColourImage& image, const Bounds& area, Colour colour, double opacity, const SignedDistance& shape);

// A ring of radius `radius` and width `width` about `centre`.
double RingDistance(Point p, Point centre, double radius, double width);

// A rectangle whose axis runs from `from` to `to`, `width` across.
double BarDistance(Point p, Point from, Point to, double width);
