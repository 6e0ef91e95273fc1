// Placeholder until the real program is written: transforms the vertex, nothing more.
void main()
{
    gl_Position = ftransform();
}
