// What the current OpenGL context offers beyond OpenGL 1.1, found once after the entry points
// are loaded. The scene asks here before it calls anything a context may lack (Windows' own
// OpenGL 1.1, remote desktops and virtual machines offer no shader or framebuffer objects).
#pragma once

struct GlCapabilities {
    bool cubeMaps;            // cube-map textures and reflection-map texture coordinates
    bool shaderObjects;       // ARB shader objects with vertex and fragment shaders
    bool shaderPrograms20;    // the OpenGL 2.0 program calls the particle drawing uses
    bool framebufferObjects;  // EXT framebuffer objects
    bool packedDepthStencil;  // depth and stencil in one renderbuffer (EXT_packed_depth_stencil)
    bool framebufferBlit;     // copies between framebuffer objects (EXT_framebuffer_blit)
    bool pointSprites;        // point sprites with program point size
};

// The record of the current context; all false until LoadOpenGl succeeds.
extern GlCapabilities glCapabilities;

// Signature of a platform's lookup of an OpenGL entry point by name.
using GlProcLookup = void (*(*)(const char* name))(void);

// Loads every entry point through lookup (call with the rendering context current) and fills
// glCapabilities. Returns false when not even OpenGL 1.1 could be loaded.
bool LoadOpenGl(GlProcLookup lookup);

// Fills glCapabilities from the loader's flags and pointers; LoadOpenGl calls it.
void DetectGlCapabilities();
