#pragma once
// Registry helpers shared by the settings store and the COM registrations.

#include "win32/windows_include.h"

#include <string>

namespace brontel {

// Deletes `subkey` of `parent` with everything under it, depth first (not
// every target has RegDeleteTree). The first error stops the walk and is
// returned; ERROR_FILE_NOT_FOUND when the key is not there.
LONG DeleteRegistryTree(HKEY parent, const wchar_t* subkey);

// REG_SZ. `terminated` stores the terminating zero with the text, as the
// registry normally does; some settings are stored without it.
LONG WriteRegistryString(HKEY key, const wchar_t* name, const std::wstring& value,
                         bool terminated = true);
// REG_DWORD, or another 4-byte type such as REG_BINARY.
LONG WriteRegistryDword(HKEY key, const wchar_t* name, DWORD value, DWORD type = REG_DWORD);

// A REG_SZ or REG_EXPAND_SZ value, with or without its stored terminator.
// False when it is missing, of another type, or cannot be read.
bool ReadRegistryString(HKEY key, const wchar_t* name, std::wstring* value);
// A REG_DWORD value; false when it is missing or of another type.
bool ReadRegistryDword(HKEY key, const wchar_t* name, DWORD* value);

}  // namespace brontel
