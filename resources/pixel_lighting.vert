// Per-pixel lighting from light 1, which sits at the eye: the pendulum and the hands.
// Hands the fragment stage the normal, the direction to the light and the half vector.

varying vec3 vNormal;
varying vec3 vHalfVector;
varying vec3 vLight;

void main()
{
    vNormal = gl_NormalMatrix * gl_Normal;

    vec4 ecPosition = gl_ModelViewMatrix * gl_Vertex;
    vec3 position = ecPosition.xyz / ecPosition.w;

    vLight = normalize(gl_LightSource[1].position.xyz - position);
    vHalfVector = normalize(vLight + gl_LightSource[1].position.xyz);

    gl_Position = ftransform();
}
