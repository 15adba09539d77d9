#include "app/settings/memory_store.h"

#include <algorithm>
#include <cctype>

namespace brontel {

std::string MemoryStore::Lower(const std::string& s) {
  std::string out = s;
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

MemoryStore::KeyId MemoryStore::OpenKey(const std::string& path) {
  const std::string lower = Lower(path);
  if (m_keys.find(lower) == m_keys.end()) return 0;
  const KeyId id = m_nextId++;
  m_open[id] = lower;
  return id;
}

long MemoryStore::CreateKey(const std::string& path, KeyId* key) {
  const std::string lower = Lower(path);
  const auto failure = m_failCreate.find(lower);
  if (failure != m_failCreate.end()) {
    *key = 0;
    return failure->second;
  }
  // Like the registry, creating a key creates the keys above it.
  for (std::size_t pos = lower.find('\\'); pos != std::string::npos;
       pos = lower.find('\\', pos + 1)) {
    m_keys[lower.substr(0, pos)];
  }
  m_keys[lower];
  const KeyId id = m_nextId++;
  m_open[id] = lower;
  *key = id;
  return kOk;
}

void MemoryStore::CloseKey(KeyId key) {
  m_open.erase(key);
}

MemoryStore::Key* MemoryStore::Find(KeyId id) {
  const auto open = m_open.find(id);
  if (open == m_open.end()) return nullptr;
  const auto key = m_keys.find(open->second);
  return key == m_keys.end() ? nullptr : &key->second;
}

bool MemoryStore::DeleteValue(KeyId key, const std::string& name) {
  Key* k = Find(key);
  return k != nullptr && k->values.erase(Lower(name)) > 0;
}

bool MemoryStore::QueryString(KeyId key, const std::string& name, std::string* text) {
  Key* k = Find(key);
  if (k == nullptr) return false;
  const auto v = k->values.find(Lower(name));
  if (v == k->values.end() || v->second.type != ValueType::kString) return false;
  *text = v->second.text;
  return true;
}

bool MemoryStore::SetString(KeyId key, const std::string& name, const std::string& text,
                            bool terminated) {
  Key* k = Find(key);
  if (k == nullptr) return false;
  Value& v = k->values[Lower(name)];
  v = Value{ValueType::kString, text, 0, terminated};
  return true;
}

bool MemoryStore::QueryDword(KeyId key, const std::string& name, std::uint32_t* value) {
  Key* k = Find(key);
  if (k == nullptr) return false;
  const auto v = k->values.find(Lower(name));
  if (v == k->values.end() || v->second.type != ValueType::kDword) return false;
  *value = v->second.dword;
  return true;
}

bool MemoryStore::SetDword(KeyId key, const std::string& name, std::uint32_t value,
                           ValueType type) {
  Key* k = Find(key);
  if (k == nullptr) return false;
  k->values[Lower(name)] = Value{type, std::string(), value, false};
  return true;
}

bool MemoryStore::HasKey(const std::string& path) const {
  return m_keys.find(Lower(path)) != m_keys.end();
}

void MemoryStore::DeleteKeyTree(const std::string& path) {
  const std::string lower = Lower(path);
  for (auto it = m_keys.begin(); it != m_keys.end();) {
    if (it->first == lower || it->first.rfind(lower + "\\", 0) == 0)
      it = m_keys.erase(it);
    else
      ++it;
  }
}

const MemoryStore::Value* MemoryStore::FindValue(const std::string& path,
                                                 const std::string& name) const {
  const auto key = m_keys.find(Lower(path));
  if (key == m_keys.end()) return nullptr;
  const auto v = key->second.values.find(Lower(name));
  return v == key->second.values.end() ? nullptr : &v->second;
}

}  // namespace brontel
