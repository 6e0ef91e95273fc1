// Per-pixel lighting from light 1 with the front material: no texture, no attenuation.

varying vec3 vNormal;
varying vec3 vHalfVector;
varying vec3 vLight;

void main()
{
    vec3 normal = normalize(vNormal);
    vec3 toLight = normalize(vLight);
    vec3 halfVector = normalize(vHalfVector);

    float nDotVP = max(0.0, dot(normal, toLight));
    float nDotHV = max(0.0, dot(normal, halfVector));
    float powerFactor = (nDotVP != 0.0) ? pow(nDotHV, gl_FrontMaterial.shininess) : 0.0;

    gl_FragColor = gl_FrontMaterial.ambient * gl_LightSource[1].ambient +
                   gl_FrontMaterial.diffuse * gl_LightSource[1].diffuse * nDotVP +
                   gl_FrontMaterial.specular * (gl_LightSource[1].specular * powerFactor);
}
