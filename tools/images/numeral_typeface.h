// The dial's own typeface: the ten digits as stroke centre lines, in units of the figure
// height (baseline y = 0, top of the figures y = 1, y up). A clean geometric sans with round
// bowls and a little contrast added when the strokes are drawn.
#pragma once

#include <vector>

#include "tools/images/stroke_paths.h"

struct Glyph {
    std::vector<StrokePath> strokes;
    double width = 0.0;  // of the centre lines, from x = 0
};

Glyph DigitGlyph(int digit);

// A whole number set left to right from x = 0: its digits' centre lines, `gap` apart (between
// the centre lines' extents), and the total width.
Glyph SetNumber(int number, double gap);
