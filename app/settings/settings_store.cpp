#include "app/settings/settings_store.h"

namespace brontel {

StoreKey OpenSettingsKey(SettingsStore& store, const std::string& path) {
  return StoreKey(store, store.OpenKey(path));
}

long CreateSettingsKey(SettingsStore& store, const std::string& path, StoreKey* key) {
  SettingsStore::KeyId id = 0;
  const long error = store.CreateKey(path, &id);
  if (error != SettingsStore::kOk || id == 0) {
    if (store.onCreateKeyFailed) store.onCreateKeyFailed(path, error);
    *key = StoreKey();
    return error != SettingsStore::kOk ? error : -1;
  }
  *key = StoreKey(store, id);
  return SettingsStore::kOk;
}

}  // namespace brontel
