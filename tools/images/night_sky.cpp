#include "tools/images/night_sky.h"

#include <algorithm>

#include "tools/images/deterministic_math.h"
#include "tools/images/gradient_noise.h"
#include "tools/images/pseudo_random.h"

namespace {

// The grid that finds the stars near a direction: cubes of this edge over [−1, 1]³.
constexpr double kCellSize = 0.03;
constexpr int kCellsPerAxis = 67;  // ceil(2 / kCellSize)
// Added to every star's reach: a texel's own samples lie up to this far from its centre.
constexpr double kSampleMargin = 0.006;
// Light below this is lost in the gradient, so a star's reach ends there.
constexpr double kFaintest = 1e-4;

// The galaxy's plane (by its normal) and the direction of its bright centre.
const Direction kGalacticPole = Normalised({0.55, 0.80, 0.22});

Direction GalacticCentre() {
    const Direction guess{-0.6, 0.3, 0.75};
    const double along = Dot(guess, kGalacticPole);
    return Normalised({guess.x - along * kGalacticPole.x, guess.y - along * kGalacticPole.y,
                       guess.z - along * kGalacticPole.z});
}

const Direction kGalacticCentre = GalacticCentre();
// Completes the galaxy's frame: along the band, a quarter turn from its centre.
const Direction kGalacticAcross = Normalised({kGalacticPole.y * kGalacticCentre.z - kGalacticPole.z * kGalacticCentre.y,
                                              kGalacticPole.z * kGalacticCentre.x - kGalacticPole.x * kGalacticCentre.z,
                                              kGalacticPole.x * kGalacticCentre.y - kGalacticPole.y * kGalacticCentre.x});

// Dark blue from the zenith to a lighter horizon, dimming again below it.
const Colour kZenith{0.0010, 0.0017, 0.0062};
const Colour kHorizon{0.0052, 0.0082, 0.0215};
const Colour kNadir{0.0020, 0.0030, 0.0088};

// The galaxy: bluish light outside, warmer towards its centre, a few faint red clouds.
const Colour kBandOuter{0.70, 0.80, 1.00};
const Colour kBandCentre{1.00, 0.86, 0.70};
const Colour kNebula{0.95, 0.35, 0.45};
constexpr double kBandLight = 0.014;

// Star colours from hot to cool, with how often each appears (cumulative).
struct StarTint {
    double upTo;
    Colour colour;
};
const StarTint kStarTints[] = {
    {0.12, {0.62, 0.74, 1.00}}, {0.40, {0.90, 0.94, 1.00}}, {0.65, {1.00, 0.95, 0.84}},
    {0.83, {1.00, 0.85, 0.62}}, {0.95, {1.00, 0.70, 0.45}}, {1.00, {1.00, 0.56, 0.36}},
};

Colour PickTint(PseudoRandom& random) {
    const double pick = random.NextUnit();
    for (const StarTint& tint : kStarTints)
        if (pick < tint.upTo) return tint.colour;
    return kStarTints[0].colour;
}

Direction RandomDirection(PseudoRandom& random) {
    const double z = 2.0 * random.NextUnit() - 1.0;
    const double angle = detmath::kTwoPi * random.NextUnit();
    const double r = detmath::Sqrt(std::max(0.0, 1.0 - z * z));
    return {r * detmath::Cos(angle), r * detmath::Sin(angle), z};
}

double ChordSquared(Direction a, Direction b) {
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}

// How far (as a chord) a Gaussian of this peak and 1/(2σ²) stays above the faintest light.
double ReachOf(double peak, double inverseSpread) {
    if (peak <= kFaintest) return 0.0;
    return detmath::Sqrt(detmath::Log(peak / kFaintest) / inverseSpread);
}

double Brightest(Colour c) { return std::max({c.r, c.g, c.b}); }

}  // namespace

NightSky::NightSky() : cells_(static_cast<std::size_t>(kCellsPerAxis) * kCellsPerAxis * kCellsPerAxis) {
    PlaceStars();
}

void NightSky::AddStar(Direction at, double brightness, Colour tint) {
    // Brighter stars look larger: their glare spreads. σ is about a third of a texel at
    // the faintest, which the eye reads as a point.
    const double size = 1.0 + 0.22 * std::max(0.0, detmath::Log(brightness / 0.02));
    const double sigma = 0.0011 * size;
    Star star;
    star.at = at;
    star.colour = tint * brightness;
    star.inverseSpread = 1.0 / (2.0 * sigma * sigma);
    const double haloSigma = 3.5 * sigma;
    star.halo = brightness > 0.4 ? tint * (0.025 * brightness) : Colour{};
    star.inverseHaloSpread = 1.0 / (2.0 * haloSigma * haloSigma);
    star.reach = std::max(ReachOf(Brightest(star.colour), star.inverseSpread),
                          ReachOf(Brightest(star.halo), star.inverseHaloSpread));
    if (star.reach <= 0.0) return;

    const int index = static_cast<int>(stars_.size());
    stars_.push_back(star);
    const double r = star.reach + kSampleMargin;
    auto cell = [](double c) { return std::clamp(static_cast<int>(detmath::Floor((c + 1.0) / kCellSize)), 0, kCellsPerAxis - 1); };
    for (int iz = cell(at.z - r); iz <= cell(at.z + r); ++iz)
        for (int iy = cell(at.y - r); iy <= cell(at.y + r); ++iy)
            for (int ix = cell(at.x - r); ix <= cell(at.x + r); ++ix) cells_[CellIndex(ix, iy, iz)].push_back(index);
}

void NightSky::PlaceStars() {
    PseudoRandom random(0x5EED5A7u);
    // Field stars all over the sky: many faint, few bright (a power law, as real skies have).
    for (int i = 0; i < 8000; ++i) {
        const Direction at = RandomDirection(random);
        const double brightness = std::min(5.0, 0.026 * detmath::Pow(1.0 - random.NextUnit(), -1.0 / 1.6));
        AddStar(at, brightness, PickTint(random));
    }
    // Faint stars crowding the galaxy's band, placed by its brightness.
    int placed = 0;
    while (placed < 9000) {
        const Direction at = RandomDirection(random);
        double bulge = 0.0;
        const double density = BandBrightness(at, &bulge) / 3.0;
        const double accept = random.NextUnit();
        const double brightness = std::min(0.3, 0.010 * detmath::Pow(1.0 - random.NextUnit(), -1.0 / 2.2));
        const Colour tint = PickTint(random);
        if (accept >= density) continue;
        AddStar(at, brightness, tint);
        ++placed;
    }
}

int NightSky::CellIndex(int ix, int iy, int iz) const { return (iz * kCellsPerAxis + iy) * kCellsPerAxis + ix; }

const std::vector<int>& NightSky::CellAt(Direction d) const {
    auto cell = [](double c) { return std::clamp(static_cast<int>(detmath::Floor((c + 1.0) / kCellSize)), 0, kCellsPerAxis - 1); };
    return cells_[CellIndex(cell(d.x), cell(d.y), cell(d.z))];
}

bool NightSky::StarsNear(Direction d) const { return !CellAt(d).empty(); }

double NightSky::BandBrightness(Direction d, double* bulge) const {
    const double latitude = Dot(d, kGalacticPole);
    *bulge = detmath::Exp(-ChordSquared(d, kGalacticCentre) / (2.0 * 0.55 * 0.55));
    const double width = 0.085 + 0.075 * *bulge;
    return detmath::Exp(-latitude * latitude / (2.0 * width * width)) * (1.0 + 2.0 * *bulge);
}

Colour NightSky::DiffuseLight(Direction d) const {
    // Gradient by height above the horizon.
    Colour light = d.y >= 0.0 ? Lerp(kHorizon, kZenith, detmath::Pow(d.y, 0.6))
                              : Lerp(kHorizon, kNadir, detmath::SmoothStep(0.0, 0.6, -d.y));

    const double latitude = Dot(d, kGalacticPole);
    if (latitude * latitude > 0.36) return light;
    double bulge = 0.0;
    const double band = BandBrightness(d, &bulge);
    const double glow = detmath::Exp(-latitude * latitude / (2.0 * 0.28 * 0.28)) * (1.0 + bulge);

    // Star clouds and dark dust lanes, both drawn out along the band: noise in the galaxy's own
    // frame, changing faster across the band than along it.
    const double along1 = Dot(d, kGalacticCentre);
    const double along2 = Dot(d, kGalacticAcross);
    double clouds = 0.5 + 0.75 * FractalNoise3(along1 * 5.0, along2 * 5.0, latitude * 11.0, 5, 0.55, 31);
    clouds = detmath::Clamp(clouds, 0.0, 1.0);
    clouds *= clouds;
    const double lane = detmath::Exp(-latitude * latitude / (2.0 * 0.06 * 0.06));
    const double dust =
        detmath::SmoothStep(0.0, 0.4, FractalNoise3(along1 * 4.0 + 3.1, along2 * 4.0, latitude * 12.0, 4, 0.5, 47)) * lane;
    const double strength = band * (0.30 + 1.2 * clouds) * (1.0 - 0.75 * dust) + 0.20 * glow;
    light = light + Lerp(kBandOuter, kBandCentre, bulge) * (kBandLight * strength);

    const double glowing = detmath::SmoothStep(0.22, 0.55, FractalNoise3(d.x * 4.0, d.y * 4.0 + 7.7, d.z * 4.0, 3, 0.5, 59));
    light = light + kNebula * (0.55 * kBandLight * glowing * band * (1.0 - 0.6 * dust));
    return light;
}

Colour NightSky::StarLight(Direction d) const {
    Colour light;
    for (const int index : CellAt(d)) {
        const Star& star = stars_[index];
        const double chord2 = ChordSquared(d, star.at);
        if (chord2 > star.reach * star.reach) continue;
        light = light + star.colour * detmath::Exp(-chord2 * star.inverseSpread);
        if (star.halo.r > 0.0) light = light + star.halo * detmath::Exp(-chord2 * star.inverseHaloSpread);
    }
    return light;
}
