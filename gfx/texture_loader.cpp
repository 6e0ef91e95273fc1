// Contents of the bound 2-D texture from the module's images: the 24-bit bitmaps and the
// 32-bit snowflake TGA, each with a full mip-map chain and the same sampling parameters.
//
// An image that cannot be had (no module, no resource, or a header that the bytes do not bear
// out) leaves the bound texture exactly as it was: nothing is uploaded and no parameter set.
#include "gfx/gl.h"
#include "gfx/resource_loaders.h"
#include "gfx/texture_image.h"
#include "platform/platform.h"
#include "resources/resource_ids.h"

namespace {

// Trilinear filtering, and no wrapping: the sky faces and the dial must not bleed into their
// opposite edges.
void SetSamplingParameters() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

}  // namespace

void LoadBmpTexture(int id) {
    if (!ResourceModuleAvailable()) {
        ShowErrorMessage("LoadTexture", "BMP");
        return;
    }
    const ResourceBytes resource = FindModuleResource("BITMAP", id);
    const std::optional<TextureImage> image = ReadBitmapImage(resource.data, resource.size);
    if (!image) return;

    // Bitmap rows are padded to four bytes.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, image->width, image->height, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                      image->Pixels());
    SetSamplingParameters();
}

void LoadTgaTexture() {
    if (!ResourceModuleAvailable()) {
        ShowErrorMessage("NOOOO", "NOOOO");
        return;
    }
    const ResourceBytes resource = FindModuleResource("TGA", SNOWFLAKE_TGA);
    const std::optional<TextureImage> image = ReadTgaImage(resource.data, resource.size);
    if (!image) return;

    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA8, image->width, image->height, GL_BGRA_EXT, GL_UNSIGNED_BYTE,
                      image->Pixels());
    SetSamplingParameters();
}
