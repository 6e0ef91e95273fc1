// vintrel-images OUTPUT_DIRECTORY: draws every image of the module from code and writes them
// there, byte for byte the same on every run and every machine. The files in resources/ are
// its output.
#include <cstdio>
#include <cstring>

#include "tools/images/module_images.h"

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "--help") == 0 || argv[1][0] == '\0') {
        std::fprintf(stderr, "usage: vintrel-images OUTPUT_DIRECTORY\n");
        return 2;
    }
    return WriteModuleImages(argv[1]) ? 0 : 1;
}
