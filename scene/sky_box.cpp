#include "scene/sky_box.h"

#include "gfx/gl.h"
#include "scene/mesh_steps.h"
#include "scene/sky_box_faces.h"

void DrawSkyBox(const uint32_t* textures) {
    for (const SkyBoxFace& face : skyBoxFaces) {
        if (face.turnFirst) glRotatef(-90.0f, 0.0f, 1.0f, 0.0f);
        glBindTexture(GL_TEXTURE_2D, textures[face.textureIndex]);
        glBegin(GL_TRIANGLES);
        for (const auto& triangle : face.triangles) {
            // The facet normal negated, so that it faces the viewer inside the box.
            const MeshPoint corners[3] = {{triangle[0].x, triangle[0].y, triangle[0].z},
                                          {triangle[1].x, triangle[1].y, triangle[1].z},
                                          {triangle[2].x, triangle[2].y, triangle[2].z}};
            const MeshPoint n = FacetNormal(corners[0], corners[1], corners[2]);
            const double inward[3] = {-n.x, -n.y, -n.z};
            glNormal3dv(inward);
            for (int i = 0; i < 3; ++i) {
                const double position[3] = {corners[i].x, corners[i].y, corners[i].z};
                glTexCoord2f(triangle[i].u, triangle[i].v);
                glVertex3dv(position);
            }
        }
        glEnd();
    }
}
