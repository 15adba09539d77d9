#pragma once
// The settings store of the native tests: an in-memory map with the
// registry's case-insensitive key and value names. Never linked into a
// shipped program.

#include <cstdint>
#include <map>
#include <string>

#include "app/settings/settings_store.h"

namespace brontel {

// An in-memory store with the registry's case-insensitive key and value names.
class MemoryStore : public SettingsStore {
 public:
  struct Value {
    ValueType type = ValueType::kString;
    std::string text;         // kString
    std::uint32_t dword = 0;  // kDword
    bool terminated = false;
  };
  struct Key {
    std::map<std::string, Value> values;  // lower-cased names
  };

  KeyId OpenKey(const std::string& path) override;
  long CreateKey(const std::string& path, KeyId* key) override;
  void CloseKey(KeyId key) override;
  bool DeleteValue(KeyId key, const std::string& name) override;
  bool QueryString(KeyId key, const std::string& name, std::string* text) override;
  bool SetString(KeyId key, const std::string& name, const std::string& text,
                 bool terminated) override;
  bool QueryDword(KeyId key, const std::string& name, std::uint32_t* value) override;
  bool SetDword(KeyId key, const std::string& name, std::uint32_t value, ValueType type) override;

  // Test helpers.
  bool HasKey(const std::string& path) const;
  void DeleteKeyTree(const std::string& path);
  const Value* FindValue(const std::string& path, const std::string& name) const;
  std::size_t KeyCount() const { return m_keys.size(); }
  // Makes CreateKey fail for this path (and report the given error).
  void FailCreate(const std::string& path, long error) { m_failCreate[Lower(path)] = error; }

 private:
  static std::string Lower(const std::string& s);
  Key* Find(KeyId id);
  std::map<std::string, Key> m_keys;  // lower-cased full paths
  std::map<KeyId, std::string> m_open;
  std::map<std::string, long> m_failCreate;
  KeyId m_nextId = 1;
};

}  // namespace brontel
