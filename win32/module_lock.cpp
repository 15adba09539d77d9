#include "win32/module_lock.h"

namespace brontel {

namespace {
LONG g_lockCount = 0;
HINSTANCE g_instance = nullptr;
}  // namespace

void ModuleAddRef() {
  InterlockedIncrement(&g_lockCount);
}
void ModuleRelease() {
  InterlockedDecrement(&g_lockCount);
}
LONG ModuleLockCount() {
  return InterlockedCompareExchange(&g_lockCount, 0, 0);
}

void SetModuleInstance(HINSTANCE instance) {
  g_instance = instance;
}

HINSTANCE ModuleInstance() {
  if (g_instance) return g_instance;
  // Not set by a DllMain (e.g. linked into an exe): the module holding this code.
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
  return module;
}

}  // namespace brontel
