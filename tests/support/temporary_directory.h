// Where tests write their scratch files: TMPDIR where it is set (CTest sets it to the test's own
// build folder), else /tmp.
#pragma once

#include <cstdlib>
#include <string>

inline std::string TemporaryDirectory() {
    const char* directory = std::getenv("TMPDIR");
    return directory && *directory ? directory : "/tmp";
}
