#include "win9x_family.h"

#include <algorithm>
#include <fstream>

#include "saver_process.h"

ScopedRegistryValue::ScopedRegistryValue(std::string key, std::string name)
    : key_(std::move(key)), name_(std::move(name)) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return;
    DWORD size = 0;
    if (RegQueryValueExA(handle, name_.c_str(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
        data_.resize(size);
        existed_ = RegQueryValueExA(handle, name_.c_str(), nullptr, &type_, data_.data(), &size) == ERROR_SUCCESS;
        data_.resize(size);
    }
    RegCloseKey(handle);
}

ScopedRegistryValue::~ScopedRegistryValue() {
    if (existed_) {
        Set(type_, data_.data(), static_cast<DWORD>(data_.size()));
    } else {
        Remove();
    }
    if (!createdKey_.empty()) RegDeleteTreeA(HKEY_CURRENT_USER, createdKey_.c_str());
}

bool ScopedRegistryValue::SetDword(DWORD value) { return Set(REG_DWORD, &value, sizeof value); }

bool ScopedRegistryValue::SetString(const std::string& value) {
    return Set(REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

bool ScopedRegistryValue::Remove() {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS) return true;
    const LONG result = RegDeleteValueA(handle, name_.c_str());
    RegCloseKey(handle);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

namespace {

bool KeyExists(const std::string& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

// The outermost key on the way to the given one that does not exist yet; empty if it exists.
std::string OutermostMissingKey(const std::string& key) {
    for (size_t end = key.find('\\');; end = key.find('\\', end + 1)) {
        const std::string prefix = key.substr(0, end);
        if (!KeyExists(prefix)) return prefix;
        if (end == std::string::npos) return {};
    }
}

}  // namespace

bool ScopedRegistryValue::Set(DWORD type, const void* data, DWORD size) {
    if (createdKey_.empty()) createdKey_ = OutermostMissingKey(key_);
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG result = RegSetValueExA(handle, name_.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

std::string FixtureDirectory() { return TestProgramDirectory() + "win9x\\"; }

std::string CopyModuleAs(const std::string& fileName) {
    const std::string copy = FixtureDirectory() + fileName;
    if (!CopyFileA((TestProgramDirectory() + "Vintrel.scr").c_str(), copy.c_str(), FALSE)) return {};
    return copy;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

size_t CountLines(const std::vector<std::string>& lines, const std::string& text) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), text));
}

std::string FreshTemporaryPath(const std::string& name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "vintrel-" + std::to_string(GetCurrentProcessId()) + "-" + name;
    DeleteFileA(path.c_str());
    return path;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::trunc);
    file << text;
    return static_cast<bool>(file.flush());
}
