// The Windows 95/98/Me family under Wine: a renamed copy of Vintrel.scr for which Wine reports
// that platform, beside the test-built PASSWORD.CPL and MPR.DLL, and the registry values the
// tests change, put back afterwards.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A registry value of the current user, changed by a test and put back as it was when the
// object goes: rewritten with its old type and data, or removed if it did not exist, with the
// keys that were made for it.
class ScopedRegistryValue {
public:
    ScopedRegistryValue(std::string key, std::string name);
    ~ScopedRegistryValue();
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

    bool SetDword(DWORD value);
    bool SetString(const std::string& value);
    bool Remove();

private:
    bool Set(DWORD type, const void* data, DWORD size);

    std::string key_;
    std::string name_;
    bool existed_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> data_;
    std::string createdKey_;  // the outermost key made for the value, if any
};

// The folder of the fixtures, beside the test program.
std::string FixtureDirectory();

// Copies Vintrel.scr into the fixture folder under the given name; the copy's full path, or
// an empty text if the copy failed.
std::string CopyModuleAs(const std::string& fileName);

// The lines of a text file; none when it does not exist.
std::vector<std::string> ReadLines(const std::string& path);

// How many lines equal the text.
size_t CountLines(const std::vector<std::string>& lines, const std::string& text);

// A fresh path in the temporary folder (the file is removed if it exists).
std::string FreshTemporaryPath(const std::string& name);

// Writes the text to the file, replacing it.
bool WriteTextFile(const std::string& path, const std::string& text);
