#include "tools/images/module_images.h"

#include <cstdio>

#include "tools/images/clock_face_image.h"
#include "tools/images/image_files.h"
#include "tools/images/metal_image.h"
#include "tools/images/night_sky.h"
#include "tools/images/sky_images.h"
#include "tools/images/snowflake_image.h"

namespace {

std::vector<uint8_t> ClockFaceFile() { return EncodeBmp24(MakeClockFaceImage()); }

std::vector<uint8_t> MetalFile() { return EncodeBmp24(MakeMetalImage()); }

std::vector<uint8_t> SnowflakeFile() { return EncodeTga32(MakeSnowflakeImage()); }

// The star catalogue is built once and shared by the six faces.
const NightSky& Sky() {
    static const NightSky sky;
    return sky;
}

template <int face>
std::vector<uint8_t> SkyFaceFile() {
    return EncodeBmp24(MakeSkyFaceImage(Sky(), face));
}

}  // namespace

const std::vector<ModuleImage>& ModuleImages() {
    static const std::vector<ModuleImage> images = {
        {"clock_face.bmp", ClockFaceFile},
        {SkyFaceAt(0).fileName, SkyFaceFile<0>},
        {SkyFaceAt(1).fileName, SkyFaceFile<1>},
        {SkyFaceAt(2).fileName, SkyFaceFile<2>},
        {SkyFaceAt(3).fileName, SkyFaceFile<3>},
        {SkyFaceAt(4).fileName, SkyFaceFile<4>},
        {SkyFaceAt(5).fileName, SkyFaceFile<5>},
        {"metal.bmp", MetalFile},
        {"snowflake.tga", SnowflakeFile},
    };
    return images;
}

bool WriteModuleImages(const std::string& directory) {
    for (const ModuleImage& image : ModuleImages()) {
        const std::string path = directory + "/" + image.fileName;
        if (!WriteFileBytes(path, image.make())) {
            std::fprintf(stderr, "vintrel-images: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}
