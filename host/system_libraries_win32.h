// Libraries that are not among the system's known DLLs are never loaded from the folder the
// saver sits in: "Install" runs a downloaded saver where it lies, where anyone may have put a
// DLL of the same name. They are loaded at run time, from the system folder only.
#pragma once

#include <windows.h>

// From now on, loads by name (the system's own included) search only the system folder, where
// the system offers that; elsewhere the current folder at least is dropped from the search.
void RestrictLibrarySearchToSystemFolder();

// The named library from the system folder, or none.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The entry point's address as the function type it has, or none.
template <typename Function>
Function LookUpEntryPoint(HMODULE library, const char* name) {
    if (!library) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// Registers the common controls' tab-control classes; nothing where the library is missing.
void InitialiseCommonControls();
