// Snapshot files under Wine: written whole or not at all.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "outside/virtualboard/snapshot/snapshot_writer_win.h"
#include "win32/atomic_file.h"
#include "win32/windows_include.h"

namespace brontel::snapshot {
namespace {

// A fresh folder under the temporary folder, removed with what is in it.
class Folder {
 public:
  Folder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"brontel_snapshot_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~Folder() {
    for (const std::wstring& name : Names()) {
      const std::wstring full = path_ + L"\\" + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!DeleteFileW(full.c_str())) RemoveDirectoryW(full.c_str());
    }
    RemoveDirectoryW(path_.c_str());
  }
  std::wstring operator/(const wchar_t* name) const { return path_ + L"\\" + name; }
  std::vector<std::wstring> Names() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
  }

 private:
  std::wstring path_;
};

std::string ReadAll(const std::wstring& path) {
  std::string bytes;
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

std::vector<std::uint8_t> GreyYuy2(int width, int height) {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < width * height / 2; ++i) bytes.insert(bytes.end(), {120, 128, 120, 128});
  return bytes;
}

TEST(SnapshotWriter, WritesTheFormatAskedAndNothingElse) {
  Folder folder;
  const std::vector<std::uint8_t> yuy2 = GreyYuy2(720, 480);
  const GrabbedFrame frame{720, 480, 16, yuy2.data(), yuy2.size()};
  std::string problem = "unset";
  ASSERT_TRUE(WriteSnapshot(frame, folder / L"0001.bmp", 640, 480, 2, 75, &problem)) << problem;
  EXPECT_EQ(problem, "");
  ASSERT_TRUE(WriteSnapshot(frame, folder / L"0002.jpg", 320, 240, 3, 40, &problem)) << problem;
  const std::string bmp = ReadAll(folder / L"0001.bmp");
  EXPECT_EQ(bmp.size(), 54u + 640u * 3u * 480u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  const std::string jpeg = ReadAll(folder / L"0002.jpg");
  ASSERT_GT(jpeg.size(), 4u);
  EXPECT_EQ(jpeg.substr(0, 2), "\xFF\xD8");
  EXPECT_EQ(jpeg.substr(jpeg.size() - 2), "\xFF\xD9");
  EXPECT_EQ(folder.Names().size(), 2u) << "a temporary file was left behind";
}

TEST(SnapshotWriter, FailuresLeaveNoFileAndTheOldOneWhole) {
  Folder folder;
  const std::vector<std::uint8_t> yuy2 = GreyYuy2(720, 480);
  const GrabbedFrame frame{720, 480, 16, yuy2.data(), yuy2.size()};
  const GrabbedFrame shortFrame{720, 480, 16, yuy2.data(), yuy2.size() / 2};
  const std::string old = "the previous snapshot";
  ASSERT_TRUE(WriteFileAtomically(folder / L"old.jpg", old.data(), old.size()));
  CreateDirectoryW((folder / L"taken.jpg").c_str(), nullptr);
  const std::wstring readOnly = folder / L"locked.bmp";
  ASSERT_TRUE(WriteFileAtomically(readOnly, old.data(), old.size()));
  SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);

  struct Case {
    const char* name;
    std::wstring path;
    const GrabbedFrame* frame;
    int width;
  } cases[] = {
      {"missing folder", folder / L"no such folder\\0001.jpg", &frame, 320},
      {"a folder in the way", folder / L"taken.jpg", &frame, 320},
      {"a read-only file in the way", readOnly, &frame, 320},
      {"a frame shorter than its size", folder / L"old.jpg", &shortFrame, 320},
      {"no width", folder / L"old.jpg", &frame, 0},
      {"a folder name", folder / L"", &frame, 320},
  };
  for (const auto& c : cases) {
    std::string problem;
    EXPECT_FALSE(WriteSnapshot(*c.frame, c.path, c.width, 240, 1, 75, &problem)) << c.name;
    EXPECT_FALSE(problem.empty()) << c.name;
  }
  EXPECT_EQ(ReadAll(folder / L"old.jpg"), old);
  EXPECT_EQ(ReadAll(readOnly), old);
  EXPECT_EQ(folder.Names().size(), 3u) << "a temporary or partial file was left behind";
  EXPECT_EQ(GetFileAttributesW((folder / L"no such folder").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(SnapshotWriter, ReplacesAnOlderFileWhole) {
  Folder folder;
  const std::string longer(100000, 'x');
  const std::string shorter = "new";
  ASSERT_TRUE(WriteFileAtomically(folder / L"a.bmp", longer.data(), longer.size()));
  ASSERT_TRUE(WriteFileAtomically(folder / L"a.bmp", shorter.data(), shorter.size()));
  EXPECT_EQ(ReadAll(folder / L"a.bmp"), shorter);
  EXPECT_EQ(folder.Names().size(), 1u);
}

}  // namespace
}  // namespace brontel::snapshot
