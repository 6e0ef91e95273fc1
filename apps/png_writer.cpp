#include "apps/png_writer.h"

#include <png.h>

#include <cstdio>
#include <vector>

#include "gfx/gl.h"

bool WriteFramePng(const std::string& path, int width, int height) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());

    // OpenGL's first row is the bottom one; PNG starts at the top.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    const png_int_32 bottomUpStride = -static_cast<png_int_32>(width * 3);
    const int written = png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), bottomUpStride, nullptr);
    if (!written) std::fprintf(stderr, "vintrel-render: cannot write %s: %s\n", path.c_str(), image.message);
    return written != 0;
}
