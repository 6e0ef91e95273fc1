// Linked into every sanitized native program. LeakSanitizer must stay quiet about what the
// OpenGL driver keeps until the process ends (a user of the default build sees exit code 0),
// and must still report every leak of our own.
//
// It can tell whose a leak is only by the library the allocation came from, and only while that
// library is loaded; Mesa unloads its driver when the display is terminated, before the check
// runs. So libraries stay loaded in these programs, and leaks from the driver's libraries are
// suppressed by name.

extern "C" {

const char* __lsan_default_suppressions() {
    return "leak:swrast_dri.so\n"
           "leak:libgallium\n"
           "leak:libEGL_mesa.so\n"
           "leak:libglapi.so\n"
           "leak:libLLVM\n";
}

// The suppressed leaks are the driver's business; no summary of them on every exit.
const char* __lsan_default_options() { return "print_suppressions=0"; }

// Unloading is only a matter of address space here: every program this file is linked into
// ends soon after.
int dlclose(void*) { return 0; }

}
