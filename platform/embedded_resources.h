// The table of resources the Linux build embeds: generated at build time from
// resources/Vintrel.rc, the one list of the module's resources.
#pragma once

#include <cstddef>

struct EmbeddedResource {
    const char* type;
    int id;
    const unsigned char* begin;
    const unsigned char* end;
};

extern const EmbeddedResource embeddedResources[];
extern const std::size_t embeddedResourceCount;
