// Lit, textured surfaces: the gears, their axles and the dial.
// Lighting is worked out per vertex from light 0, which hangs at the pendulum's bob and is
// always treated as a point light, seen by a non-local viewer.

void main()
{
    vec4 ecPosition = gl_ModelViewMatrix * gl_Vertex;
    gl_Position = ftransform();

    vec3 normal = normalize(gl_NormalMatrix * gl_Normal);
    vec3 position = ecPosition.xyz / ecPosition.w;
    vec3 eye = vec3(0.0, 0.0, 1.0);

    vec4 ambient = vec4(0.0);
    vec4 diffuse = vec4(0.0);
    vec4 specular = vec4(0.0);

    vec3 toLight = gl_LightSource[0].position.xyz - position;
    float lightDistance = length(toLight);
    toLight = normalize(toLight);

    gl_TexCoord[0] = gl_MultiTexCoord0;

    float attenuation = 1.0 / (gl_LightSource[0].constantAttenuation +
                               gl_LightSource[0].linearAttenuation * lightDistance +
                               gl_LightSource[0].quadraticAttenuation * lightDistance * lightDistance);

    vec3 halfVector = normalize(toLight + eye);
    float nDotVP = max(0.0, dot(normal, toLight));
    float nDotHV = max(0.0, dot(normal, halfVector));
    float powerFactor = (nDotVP == 0.0) ? 0.0 : pow(nDotHV, gl_FrontMaterial.shininess);

    ambient += gl_LightSource[0].ambient * attenuation;
    diffuse += gl_LightSource[0].diffuse * nDotVP * attenuation;
    specular += gl_LightSource[0].specular * powerFactor * attenuation;

    vec4 colour = gl_FrontLightModelProduct.sceneColor +
                  ambient * gl_FrontMaterial.ambient +
                  diffuse * gl_FrontMaterial.diffuse;
    colour += specular * gl_FrontMaterial.specular;
    colour = clamp(colour, 0.0, 1.0);

    const float fade = 1.0;
    gl_FrontColor = vec4(colour.rgb, colour.a * fade);
}
