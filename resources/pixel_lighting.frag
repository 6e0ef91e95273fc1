// Placeholder until the real program is written: one flat colour.
void main()
{
    gl_FragColor = vec4(1.0, 1.0, 1.0, 1.0);
}
