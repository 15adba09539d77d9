// The channel files as the product reads them: from the Windows directory of
// the prefix, through the real profile functions.

#include "tv/channel_files_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "win32/text_convert.h"
#include "tv/private_profile_win.h"
#include "tv/wine_paths.h"

namespace brontel {
namespace {

using Names = std::vector<std::string>;
constexpr char kNoStation[] = "(none)";
constexpr std::int32_t kJapan = 81;

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(Narrow(path), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A fresh empty folder under the temp directory, removed with its files.
class TempFolder {
 public:
  TempFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    m_path = std::wstring(temp) + L"brontel_tv_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
             std::to_wstring(GetTickCount());
    CreateDirectoryW(m_path.c_str(), nullptr);
  }
  ~TempFolder() {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((m_path + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") DeleteFileW((m_path + L"\\" + name).c_str());
      } while (FindNextFileW(find, &found));
      FindClose(find);
    }
    RemoveDirectoryW(m_path.c_str());
  }
  const std::wstring& path() const { return m_path; }
  int CountFiles() const {
    int count = 0;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((m_path + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
      std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") ++count;
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return count;
  }

 private:
  std::wstring m_path;
};

TEST(ShippedFiles, AreInstalledInTheWindowsDirectory) {
  const std::wstring windows = WindowsDirectory();
  ASSERT_FALSE(windows.empty());
  for (const char* name : {"TVFreqBroad_81.ini", "TVFreqCable_81.ini", "TVChn_Cntry_81.ini",
                           "TVFreqBroad_1.ini", "TVFreqCable_1.ini", "TVChn_Cntry_1.ini"}) {
    const std::wstring installed = windows + L"\\" + Widen(name);
    ASSERT_TRUE(FileExists(installed)) << name << " (run scripts/install-product.sh)";
    EXPECT_EQ(ReadBytes(installed), ReadBytes(test::DataPath(name))) << name;
  }
}

TEST(ChannelFiles, WindowsDirectoryEndingInBackslashGivesNoDoubleBackslash) {
  const std::wstring windows = WindowsDirectory();
  const ChannelFiles plain(windows, kJapan);
  const ChannelFiles slashed(windows + L"\\", kJapan);
  for (FreqTableKind kind : {FreqTableKind::kBroadcast, FreqTableKind::kCable}) {
    EXPECT_EQ(slashed.FreqTablePath(kind), plain.FreqTablePath(kind));
    EXPECT_EQ(slashed.FreqTablePath(kind).find(L"\\\\"), std::wstring::npos);
  }
  EXPECT_EQ(slashed.RegionFilePath(), windows + L"\\TVChn_Cntry_81.ini");
  EXPECT_EQ(plain.FreqTablePath(FreqTableKind::kCable), windows + L"\\TVFreqCable_81.ini");
  FreqTables tables;
  EXPECT_TRUE(slashed.LoadFreqTables(&tables));
  EXPECT_EQ(ChannelFrequency(tables, 0, 13), 471250000);
  EXPECT_EQ(slashed.LoadRegionStates().size(), 47u);
}

TEST(ChannelFiles, RegionListsReadBackInJapanese) {
  const ChannelFiles files = ChannelFiles::InWindowsDirectory(kJapan);
  const Names states = files.LoadRegionStates();
  ASSERT_EQ(states.size(), 47u);
  EXPECT_EQ(states[0], "北海道");
  EXPECT_EQ(states[12], "東京都");
  EXPECT_EQ(states[27], "兵庫県");
  EXPECT_EQ(files.LoadRegionCities(12), (Names{"東京23区", "八王子市", "立川市", "町田市"}));
  const Names stations = files.LoadRegionStations(13, 0, kNoStation);  // 横浜市
  ASSERT_GE(stations.size(), 2u);
  EXPECT_EQ(stations[0], kNoStation);
  EXPECT_EQ(stations[1], "ＮＨＫ総合");
  EXPECT_EQ(stations.back(), "テレビ神奈川");
  EXPECT_EQ(files.LoadRegionStations(26, 0, kNoStation)[3], "毎日放送");
}

TEST(WriteCurrentSource, AbsentFileIsNotCreated) {
  TempFolder folder;
  for (const std::wstring& installPath : {folder.path(), folder.path() + L"\\"}) {
    EXPECT_FALSE(WriteCurrentSource(Narrow(installPath), 3));
  }
  EXPECT_EQ(folder.CountFiles(), 0);
  EXPECT_FALSE(FileExists(folder.path() + L"\\registersetting.ini"));
}

TEST(WriteCurrentSource, UpdatesAnExistingFile) {
  TempFolder folder;
  const std::wstring path = folder.path() + L"\\registersetting.ini";
  {
    std::ofstream out(Narrow(path), std::ios::binary);
    out << "[Brontel]\r\nCurrentSource=0\r\n[Board]\r\nOther=keep\r\n";
  }
  const struct {
    std::wstring installPath;
    std::int32_t source;
  } cases[] = {{folder.path(), 3}, {folder.path() + L"\\", 1}, {folder.path(), 0}};
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteCurrentSource(Narrow(c.installPath), c.source));
    EXPECT_EQ(static_cast<std::int32_t>(
                  GetPrivateProfileIntW(L"Brontel", L"CurrentSource", -1, path.c_str())),
              c.source);
  }
  EXPECT_EQ(PrivateProfileFile(path).ReadString("Board", "Other", "", 10), "keep");
  EXPECT_EQ(folder.CountFiles(), 1);
}

TEST(WriteCurrentSource, EmptyInstallPathWritesNothing) {
  EXPECT_TRUE(RegisterSettingPath("").empty());
  EXPECT_FALSE(WriteCurrentSource("", 0));
}

}  // namespace
}  // namespace brontel
