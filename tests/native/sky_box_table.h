// The sky box as the scene draws it, written out for the tests from its drawing table: each
// face's bitmap, its turn about y, and its two triangles' vertices with texture coordinates.
#pragma once

struct TableVertex {
    double x, y, z, u, v;
};
struct TableFace {
    int bitmapId;
    double turnDegrees;
    TableVertex vertices[6];
};
inline const TableFace kSkyBoxTable[6] = {
    {105, 0, {{-1, -1, 1, 1, 0}, {1, -1, 1, 0, 0}, {1, 1, 1, 0, 1}, {-1, -1, 1, 1, 0}, {1, 1, 1, 0, 1}, {-1, 1, 1, 1, 1}}},
    {108, 0, {{-1, -1, -1, 0, 0}, {1, 1, -1, 1, 1}, {1, -1, -1, 1, 0}, {-1, -1, -1, 0, 0}, {-1, 1, -1, 0, 1}, {1, 1, -1, 1, 1}}},
    {109, 0, {{-1, -1, -1, 1, 0}, {-1, -1, 1, 0, 0}, {-1, 1, 1, 0, 1}, {-1, -1, -1, 1, 0}, {-1, 1, 1, 0, 1}, {-1, 1, -1, 1, 1}}},
    {110, 0, {{1, -1, 1, 1, 0}, {1, -1, -1, 0, 0}, {1, 1, -1, 0, 1}, {1, -1, 1, 1, 0}, {1, 1, -1, 0, 1}, {1, 1, 1, 1, 1}}},
    {111, -90, {{-1, 1, 1, 1, 1}, {1, 1, 1, 1, 0}, {1, 1, -1, 0, 0}, {-1, 1, 1, 1, 1}, {1, 1, -1, 0, 0}, {-1, 1, -1, 0, 1}}},
    {106, -180, {{-1, -1, 1, 1, 1}, {1, -1, -1, 0, 0}, {1, -1, 1, 0, 1}, {-1, -1, 1, 1, 1}, {-1, -1, -1, 1, 0}, {1, -1, -1, 0, 0}}},
};
