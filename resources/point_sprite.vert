// Point-sprite vertex shader: sizes each snowflake sprite by its distance and the viewport
// height, and hands the fragment stage the cosine and sine of the flake's angle.

uniform mat4 projMat;      // the projection the sprites are sized with
uniform vec2 viewportSize; // viewport width and height in pixels

attribute float pointScales; // size factor of the flake
attribute float angles;      // rotation of the flake, radians
attribute vec4 colours;      // colour and opacity of the flake

varying vec4 colour;
varying vec3 mRot; // cos and sin of the angle, then the size in pixels

void main()
{
    vec4 vert = ftransform();

    // projMat[0][0] is the projection's horizontal scale; dividing by clip w shrinks far
    // flakes, and half the viewport height turns the result into pixels.
    float size = pointScales * projMat[0][0] / vert.w * viewportSize.y / 2.0;

    mRot = vec3(cos(angles), sin(angles), size);
    colour = colours;

    gl_PointSize = mRot.z;
    gl_Position = vert;
}
