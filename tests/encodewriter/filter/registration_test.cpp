// regsvr32 registration of kxEncodeWriter.ax: the class key, the filter
// mapper entry with three setup pins, the video compressor instance without
// pins, and unregistration of all of them.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "encodewriter/filter/encode_writer_interfaces.h"
#include "test_support.h"

namespace brontel::test {
namespace {

constexpr DWORD kMerit = 0x200000;
constexpr wchar_t kLegacyCategory[] = L"{083863F1-70DE-11D0-BD40-00A0C911CE86}";
constexpr wchar_t kCompressorCategory[] = L"{33D9A760-90C8-11D0-BD43-00A0C911CE86}";

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring ThisFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  return dir.substr(0, dir.find_last_of(L"\\/") + 1);
}

// From the installation folder, where the library finds gomotion.dll.
long RunRegsvr32(const std::wstring& arguments) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(system) + L"\\regsvr32.exe\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                      ThisFolder().c_str(), &startup, &process)) {
    return -1;
  }
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &code);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<long>(code);
}

bool ReadValue(const std::wstring& key, const wchar_t* name, DWORD type, std::vector<BYTE>* out) {
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, type, nullptr, nullptr, &bytes) !=
      ERROR_SUCCESS) {
    return false;
  }
  out->resize(bytes);
  return RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, type, nullptr, out->data(), &bytes) ==
         ERROR_SUCCESS;
}

std::wstring TextValue(const std::wstring& key, const wchar_t* name) {
  std::vector<BYTE> bytes;
  if (!ReadValue(key, name, RRF_RT_REG_SZ, &bytes)) return L"<missing>";
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()));
}

// Merit and pin count from a mapper entry's FilterData, or -1s when missing.
std::pair<long, long> MeritAndPins(const std::wstring& key) {
  std::vector<BYTE> data;
  if (!ReadValue(key, L"FilterData", RRF_RT_REG_BINARY, &data) || data.size() < 12) {
    return {-1, -1};
  }
  DWORD words[3];
  std::memcpy(words, data.data(), sizeof(words));
  return {static_cast<long>(words[1]), static_cast<long>(words[2])};
}

TEST(EncodeWriterRegistration, BothMapperEntriesAndTheirRemoval) {
  const std::wstring library = L"\"" + ThisFolder() + L"kxEncodeWriter.ax" + L"\"";
  const std::wstring clsid = GuidText(kClsidEncodeWriter);
  const std::wstring classKey = L"CLSID\\" + clsid;
  const std::wstring filterKey =
      std::wstring(L"CLSID\\") + kLegacyCategory + L"\\Instance\\" + clsid;
  const std::wstring compressorKey =
      std::wstring(L"CLSID\\") + kCompressorCategory + L"\\Instance\\" + kEncodeWriterName;

  ASSERT_EQ(0, RunRegsvr32(L"/s " + library));
  EXPECT_EQ(TextValue(classKey + L"\\InprocServer32", L"ThreadingModel"), L"Both");
  EXPECT_EQ(TextValue(filterKey, L"FriendlyName"), kEncodeWriterName);
  EXPECT_EQ(MeritAndPins(filterKey), std::make_pair(static_cast<long>(kMerit), 3L));
  EXPECT_EQ(TextValue(compressorKey, L"CLSID"), clsid);
  EXPECT_EQ(MeritAndPins(compressorKey), std::make_pair(static_cast<long>(kMerit), 0L));

  ASSERT_EQ(0, RunRegsvr32(L"/s /u " + library));
  EXPECT_EQ(TextValue(classKey + L"\\InprocServer32", L"ThreadingModel"), L"<missing>");
  EXPECT_EQ(TextValue(filterKey, L"FriendlyName"), L"<missing>");
  EXPECT_EQ(TextValue(compressorKey, L"CLSID"), L"<missing>");

  // Leave the library installed for the other tests.
  ASSERT_EQ(0, RunRegsvr32(L"/s " + library));
}

}  // namespace
}  // namespace brontel::test
