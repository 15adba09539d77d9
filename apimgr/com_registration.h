#pragma once
// Registry entries of the class table under HKEY_CLASSES_ROOT.

#include "apimgr/class_factory.h"

// Errors are not reported: a key that cannot be written is skipped.
void RegisterComponentClass(const ComponentClass& row, HMODULE module);
void UnregisterComponentClass(const ComponentClass& row);
