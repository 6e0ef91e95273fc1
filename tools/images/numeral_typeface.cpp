#include "tools/images/numeral_typeface.h"

#include <string>

namespace {

// Every digit but the one is as wide as the zero; the nine is the six turned half round.
constexpr double kWidth = 0.56;

Glyph Zero() {
    Glyph g{{}, kWidth};
    g.strokes.push_back(StrokePath({kWidth, 0.5}).ArcAround({0.28, 0.5}, 0.28, 0.5, 0.0, 360.0));
    return g;
}

Glyph One() {
    Glyph g{{}, 0.26};
    g.strokes.push_back(StrokePath({0.0, 0.80}).LineTo({0.26, 1.0}).LineTo({0.26, 0.0}));
    return g;
}

Glyph Two() {
    Glyph g{{}, kWidth};
    StrokePath path({0.03, 0.74});
    path.ArcAround({0.28, 0.72}, 0.255, 0.28, 175.0, -210.0);  // ends at −35°, heading down-left
    path.CurveTo({0.40, 0.38}, {0.06, 0.16}, {0.0, 0.0});
    path.LineTo({0.57, 0.0});
    g.strokes.push_back(path);
    return g;
}

Glyph Three() {
    Glyph g{{}, kWidth};
    StrokePath upper({0.06, 0.87});
    upper.ArcAround({0.27, 0.765}, 0.235, 0.235, 150.0, -240.0);  // ends at the waist, (0.27, 0.53)
    g.strokes.push_back(upper);
    g.strokes.push_back(StrokePath({0.17, 0.53}).LineTo({0.27, 0.53}));
    StrokePath lower({0.27, 0.53});
    lower.ArcAround({0.27, 0.265}, 0.29, 0.265, 90.0, -238.0);
    g.strokes.push_back(lower);
    return g;
}

Glyph Four() {
    Glyph g{{}, 0.60};
    g.strokes.push_back(StrokePath({0.44, 0.0}).LineTo({0.44, 1.0}).LineTo({0.0, 0.29}).LineTo({0.60, 0.29}));
    return g;
}

Glyph Five() {
    Glyph g{{}, kWidth};
    StrokePath path({0.52, 1.0});
    path.LineTo({0.09, 1.0}).LineTo({0.06, 0.57});
    path.ArcAround({0.28, 0.33}, 0.28, 0.33, 133.0, -268.0);
    g.strokes.push_back(path);
    return g;
}

Glyph Six() {
    Glyph g{{}, kWidth};
    g.strokes.push_back(StrokePath({kWidth, 0.32}).ArcAround({0.28, 0.32}, 0.28, 0.32, 0.0, 360.0));
    StrokePath rise({0.0, 0.32});
    rise.CurveTo({0.0, 0.74}, {0.14, 1.0}, {0.47, 1.0});
    g.strokes.push_back(rise);
    return g;
}

Glyph Seven() {
    Glyph g{{}, kWidth};
    StrokePath path({0.0, 1.0});
    path.LineTo({0.56, 1.0});
    path.CurveTo({0.40, 0.70}, {0.24, 0.36}, {0.20, 0.0});
    g.strokes.push_back(path);
    return g;
}

Glyph Eight() {
    Glyph g{{}, kWidth};
    g.strokes.push_back(StrokePath({0.28, 0.53}).ArcAround({0.28, 0.765}, 0.235, 0.235, -90.0, 360.0));
    g.strokes.push_back(StrokePath({0.28, 0.53}).ArcAround({0.28, 0.265}, 0.28, 0.265, 90.0, 360.0));
    return g;
}

Glyph TurnedHalfRound(const Glyph& glyph) {
    Glyph turned{{}, glyph.width};
    for (const StrokePath& path : glyph.strokes) {
        const std::vector<Point>& points = path.Points();
        StrokePath copy({glyph.width - points[0].x, 1.0 - points[0].y});
        for (std::size_t i = 1; i < points.size(); ++i) copy.LineTo({glyph.width - points[i].x, 1.0 - points[i].y});
        turned.strokes.push_back(copy);
    }
    return turned;
}

}  // namespace

Glyph DigitGlyph(int digit) {
    switch (digit) {
        case 0: return Zero();
        case 1: return One();
        case 2: return Two();
        case 3: return Three();
        case 4: return Four();
        case 5: return Five();
        case 6: return Six();
        case 7: return Seven();
        case 8: return Eight();
        default: return TurnedHalfRound(Six());
    }
}

Glyph SetNumber(int number, double gap) {
    Glyph set;
    double x = 0.0;
    for (const char c : std::to_string(number)) {
        const Glyph digit = DigitGlyph(c - '0');
        for (const StrokePath& path : digit.strokes) {
            const std::vector<Point>& points = path.Points();
            StrokePath moved(points[0] + Point{x, 0.0});
            for (std::size_t i = 1; i < points.size(); ++i) moved.LineTo(points[i] + Point{x, 0.0});
            set.strokes.push_back(moved);
        }
        set.width = x + digit.width;
        x += digit.width + gap;
    }
    return set;
}
