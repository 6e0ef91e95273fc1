// Lit, textured surfaces: the lit colour times the texel of the bound texture.

uniform sampler2D colorMap;

void main()
{
    gl_FragColor = gl_Color * texture2D(colorMap, gl_TexCoord[0].st);
}
