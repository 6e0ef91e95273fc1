// Turns the module's embedded resources into OpenGL objects: shader programs from pairs of
// "SHADER" texts, and mip-mapped contents for the bound 2-D texture from bitmaps and the TGA.
#pragma once

#include <cstdint>

// Hands the text of "SHADER" resource `id` to the shader object as its source; false when the
// resource cannot be found.
bool LoadShaderSource(int id, uint32_t shaderObject);

// Builds a program from a vertex and a fragment shader resource; 0 on failure, with no shader
// or program object left behind. 0 also where the context has no shader objects.
uint32_t LoadShaderProgram(int vertexShaderId, int fragmentShaderId);

// Fills the texture bound to GL_TEXTURE_2D from bitmap resource `id`.
void LoadBmpTexture(int id);

// Fills the texture bound to GL_TEXTURE_2D from the snowflake (the "TGA" resource).
void LoadTgaTexture();
