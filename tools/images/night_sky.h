// The night sky as one function of direction: a dark blue gradient, a faint band of the
// galaxy with its clouds and dust lanes, and a fixed catalogue of stars of varied brightness,
// size and colour. Every sky-box face is drawn from it, so the faces agree where they meet.
#pragma once

#include <vector>

#include "tools/images/raster.h"
#include "tools/images/sky_box_layout.h"

class NightSky {
public:
    NightSky();

    // Light from the smooth parts of the sky (gradient and galaxy), linear, in direction `d`
    // (unit length).
    Colour DiffuseLight(Direction d) const;

    // Light from the stars in direction `d` (unit length), linear.
    Colour StarLight(Direction d) const;

    // Whether any star's light may reach within `radius` (a chord) of `d`; most of the sky is
    // dark between the stars and needs no closer look.
    bool StarsNear(Direction d) const;

private:
    struct Star {
        Direction at;
        Colour colour;        // brightness included
        double inverseSpread;  // 1 / (2σ²), σ in radians
        Colour halo;
        double inverseHaloSpread;
        double reach;  // beyond this chord the star adds nothing visible
    };

    void AddStar(Direction at, double brightness, Colour tint);
    void PlaceStars();
    const std::vector<int>& CellAt(Direction d) const;
    int CellIndex(int ix, int iy, int iz) const;
    double BandBrightness(Direction d, double* bulge) const;

    std::vector<Star> stars_;
    std::vector<std::vector<int>> cells_;
};
