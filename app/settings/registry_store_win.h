#pragma once
// The settings store on the current user's registry hive.

#include "app/settings/settings_store.h"

namespace brontel {

class RegistryStore : public SettingsStore {
 public:
  // Reports a key that cannot be created with the "Unable to create key"
  // message box, owned by the window that has the focus.
  RegistryStore();
  ~RegistryStore() override;

  KeyId OpenKey(const std::string& path) override;
  long CreateKey(const std::string& path, KeyId* key) override;
  void CloseKey(KeyId key) override;
  bool DeleteValue(KeyId key, const std::string& name) override;
  bool QueryString(KeyId key, const std::string& name, std::string* text) override;
  bool SetString(KeyId key, const std::string& name, const std::string& text,
                 bool terminated) override;
  bool QueryDword(KeyId key, const std::string& name, std::uint32_t* value) override;
  bool SetDword(KeyId key, const std::string& name, std::uint32_t value, ValueType type) override;
};

// Removes a key and everything under it from the current user's hive.
bool DeleteRegistryTree(const std::string& path);

}  // namespace brontel
