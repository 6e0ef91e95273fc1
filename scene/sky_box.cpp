#include "scene/sky_box.h"

#include "gfx/gl.h"
#include "scene/mesh_steps.h"
#include "scene/scene_setup.h"

namespace {

struct SkyVertex {
    MeshPoint position;
    MeshTexCoord tex;
};

struct SkyFace {
    int texture;     // index into sceneTextures
    bool turnFirst;  // a further -90 degrees about y before this face
    SkyVertex triangles[2][3];
};

// Each image fills its face exactly once. The faces on the y planes are drawn after a quarter
// and a half turn about y, which keeps them on their planes but turns their images.
constexpr SkyFace skyFaces[6] = {
    {6, false,
     {{{{-1, -1, 1}, {1, 0}}, {{1, -1, 1}, {0, 0}}, {{1, 1, 1}, {0, 1}}},
      {{{-1, -1, 1}, {1, 0}}, {{1, 1, 1}, {0, 1}}, {{-1, 1, 1}, {1, 1}}}}},
    {5, false,
     {{{{-1, -1, -1}, {0, 0}}, {{1, 1, -1}, {1, 1}}, {{1, -1, -1}, {1, 0}}},
      {{{-1, -1, -1}, {0, 0}}, {{-1, 1, -1}, {0, 1}}, {{1, 1, -1}, {1, 1}}}}},
    {3, false,
     {{{{-1, -1, -1}, {1, 0}}, {{-1, -1, 1}, {0, 0}}, {{-1, 1, 1}, {0, 1}}},
      {{{-1, -1, -1}, {1, 0}}, {{-1, 1, 1}, {0, 1}}, {{-1, 1, -1}, {1, 1}}}}},
    {4, false,
     {{{{1, -1, 1}, {1, 0}}, {{1, -1, -1}, {0, 0}}, {{1, 1, -1}, {0, 1}}},
      {{{1, -1, 1}, {1, 0}}, {{1, 1, -1}, {0, 1}}, {{1, 1, 1}, {1, 1}}}}},
    {1, true,
     {{{{-1, 1, 1}, {1, 1}}, {{1, 1, 1}, {1, 0}}, {{1, 1, -1}, {0, 0}}},
      {{{-1, 1, 1}, {1, 1}}, {{1, 1, -1}, {0, 0}}, {{-1, 1, -1}, {0, 1}}}}},
    {2, true,
     {{{{-1, -1, 1}, {1, 1}}, {{1, -1, -1}, {0, 0}}, {{1, -1, 1}, {0, 1}}},
      {{{-1, -1, 1}, {1, 1}}, {{-1, -1, -1}, {1, 0}}, {{1, -1, -1}, {0, 0}}}}},
};

}  // namespace

void DrawSkyBox() {
    for (const SkyFace& face : skyFaces) {
        if (face.turnFirst) glRotatef(-90.0f, 0.0f, 1.0f, 0.0f);
        glBindTexture(GL_TEXTURE_2D, sceneTextures[face.texture]);
        glBegin(GL_TRIANGLES);
        for (const auto& triangle : face.triangles) {
            // The facet normal negated, so that it faces the viewer inside the box.
            const MeshPoint n = FacetNormal(triangle[0].position, triangle[1].position, triangle[2].position);
            const double inward[3] = {-n.x, -n.y, -n.z};
            glNormal3dv(inward);
            for (const SkyVertex& vertex : triangle) {
                const double position[3] = {vertex.position.x, vertex.position.y, vertex.position.z};
                glTexCoord2f(vertex.tex.u, vertex.tex.v);
                glVertex3dv(position);
            }
        }
        glEnd();
    }
}
