#pragma once
// The key-value store that settings live in. On Windows it is the current
// user's registry; the native tests use an in-memory map (memory_store.h). Key paths are
// relative to the store's root and use backslashes, like registry paths.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace brontel {

// Registry value types the settings use.
enum class ValueType : std::uint32_t {
  kString = 1,  // REG_SZ
  kDword = 4,   // REG_DWORD
};

class SettingsStore {
 public:
  using KeyId = std::uintptr_t;  // 0 is "no key"
  static constexpr long kOk = 0;

  virtual ~SettingsStore() = default;

  // Opens an existing key with full access; 0 when it cannot be opened.
  virtual KeyId OpenKey(const std::string& path) = 0;
  // Creates (non-volatile, empty class) or opens a key. Returns kOk and sets
  // *key, or a platform error code.
  virtual long CreateKey(const std::string& path, KeyId* key) = 0;
  virtual void CloseKey(KeyId key) = 0;
  virtual bool DeleteValue(KeyId key, const std::string& name) = 0;

  // Reads a string value as UTF-8 (without a terminating zero). False when
  // the value is missing, is not a string or cannot be read.
  virtual bool QueryString(KeyId key, const std::string& name, std::string* text) = 0;
  // Writes a string value. `terminated` stores the terminating zero with it,
  // as the integer texts are; plain texts are stored without it.
  virtual bool SetString(KeyId key, const std::string& name, const std::string& text,
                         bool terminated) = 0;
  virtual bool QueryDword(KeyId key, const std::string& name, std::uint32_t* value) = 0;
  virtual bool SetDword(KeyId key, const std::string& name, std::uint32_t value,
                        ValueType type) = 0;

  // Called when a key cannot be created; the Windows store shows the
  // "Unable to create key" box here. Tests may replace it.
  std::function<void(const std::string& path, long error)> onCreateKeyFailed;
};

// Move-only owner of an open key.
class StoreKey {
 public:
  StoreKey() = default;
  StoreKey(SettingsStore& store, SettingsStore::KeyId id) : m_store(&store), m_id(id) {}
  StoreKey(StoreKey&& other) noexcept : m_store(other.m_store), m_id(other.m_id) { other.m_id = 0; }
  StoreKey& operator=(StoreKey&& other) noexcept {
    if (this != &other) {
      Reset();
      m_store = other.m_store;
      m_id = other.m_id;
      other.m_id = 0;
    }
    return *this;
  }
  StoreKey(const StoreKey&) = delete;
  StoreKey& operator=(const StoreKey&) = delete;
  ~StoreKey() { Reset(); }

  explicit operator bool() const { return m_id != 0; }
  SettingsStore::KeyId id() const { return m_id; }
  SettingsStore& store() const { return *m_store; }
  void Reset() {
    if (m_id != 0 && m_store) m_store->CloseKey(m_id);
    m_id = 0;
  }

 private:
  SettingsStore* m_store = nullptr;
  SettingsStore::KeyId m_id = 0;
};

StoreKey OpenSettingsKey(SettingsStore& store, const std::string& path);
// Creates or opens the key; on failure reports through onCreateKeyFailed and
// returns the error code with an empty key.
long CreateSettingsKey(SettingsStore& store, const std::string& path, StoreKey* key);

}  // namespace brontel
