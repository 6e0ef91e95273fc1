// Point-sprite fragment shader: turns the sprite's texture coordinates about its centre by the
// flake's angle and tints the snowflake texel with the flake's colour.

uniform sampler2D colorMap; // the snowflake, on texture unit 0

varying vec4 colour;
varying vec3 mRot; // cos and sin of the angle (the size is not needed here)

void main()
{
    // With coordinate replacement the sprite's texture coordinate runs 0..1 across it.
    vec2 d = gl_TexCoord[0].st - vec2(0.5, 0.5);

    // Counter-clockwise turn by the angle; columns (c, s) and (-s, c).
    mat2 turn = mat2(mRot.x, mRot.y, -mRot.y, mRot.x);
    vec2 t = turn * d + vec2(0.5, 0.5);

    gl_FragColor = colour * texture2D(colorMap, t);
}
