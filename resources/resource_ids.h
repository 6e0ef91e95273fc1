/* The identifiers of the module's resources, named once for the code, for Vintrel.rc (which the
   resource compiler and cmake/EmbedResources.cmake both read) and for the image generator.
   Plain #defines of decimal numbers, so that the resource compiler and the embedder can read
   them too. */
#ifndef VINTREL_RESOURCE_IDS_H
#define VINTREL_RESOURCE_IDS_H

/* String: the screen saver's description in the system's list of screen savers. */
#define DESCRIPTION_STRING 1

/* 24-bit bitmaps. */
#define CLOCK_FACE_BITMAP 104
#define SKY_AHEAD_BITMAP 105
#define SKY_DOWN_BITMAP 106
#define METAL_BITMAP 107
#define SKY_BEHIND_BITMAP 108
#define SKY_RIGHT_BITMAP 109
#define SKY_LEFT_BITMAP 110
#define SKY_UP_BITMAP 111

/* "TGA": the snowflake, a complete 32-bit TGA file. */
#define SNOWFLAKE_TGA 148

/* "SHADER": GLSL source texts. */
#define PIXEL_LIGHTING_FRAGMENT_SHADER 150
#define PIXEL_LIGHTING_VERTEX_SHADER 151
#define LIT_TEXTURED_FRAGMENT_SHADER 152
#define LIT_TEXTURED_VERTEX_SHADER 153
#define POINT_SPRITE_FRAGMENT_SHADER 157
#define POINT_SPRITE_VERTEX_SHADER 158

#endif
