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

// How one of the module's image formats is found, read and uploaded, and what the user is told
// when the module that carries it cannot be found.
struct ImageFormat {
    const char* resourceType;
    std::optional<TextureImage> (*read)(const unsigned char* data, std::size_t size);
    GLint internalFormat;
    GLenum pixelFormat;
    GLint unpackAlignment;  // bitmap rows are padded to four bytes, TGA rows are packed
    const char* missingModuleText;
    const char* missingModuleCaption;
};

constexpr ImageFormat kBitmap{"BITMAP", ReadBitmapImage, GL_RGB, GL_BGR_EXT, 4, "LoadTexture", "BMP"};
constexpr ImageFormat kTga{"TGA", ReadTgaImage, GL_RGBA8, GL_BGRA_EXT, 1, "NOOOO", "NOOOO"};

void LoadTexture(const ImageFormat& format, int id) {
    if (!ResourceModuleAvailable()) {
        ShowErrorMessage(format.missingModuleText, format.missingModuleCaption);
        return;
    }
    const ResourceBytes resource = FindModuleResource(format.resourceType, id);
    const std::optional<TextureImage> image = format.read(resource.data, resource.size);
    if (!image) return;

    glPixelStorei(GL_UNPACK_ALIGNMENT, format.unpackAlignment);
    gluBuild2DMipmaps(GL_TEXTURE_2D, format.internalFormat, image->width, image->height, format.pixelFormat,
                      GL_UNSIGNED_BYTE, image->Pixels());
    // Trilinear filtering, and no wrapping: the sky faces and the dial must not bleed into their
    // opposite edges.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

}  // namespace

void LoadBmpTexture(int id) { LoadTexture(kBitmap, id); }

void LoadTgaTexture() { LoadTexture(kTga, SNOWFLAKE_TGA); }
