// Part numbers of played files and the search for their sibling parts.
#include <gtest/gtest.h>

#include <set>

#include "app/recording/part_files.h"

namespace brontel::recording {
namespace {

TEST(PlaybackParts, NumberAndTemplate) {
  struct Case {
    std::string path;
    std::int32_t partNo;
    const char* templ;
  };
  const Case cases[] = {
      {"C:\\r\\_(3)TV.mpg", 3, "C:\\r\\_(%s)TV.mpg"},
      {"C:\\r\\x_(12).mpg", 12, "C:\\r\\x_(%s).mpg"},
      {"C:\\r\\plain.mpg", 0, ""},
      {"C:\\r\\(x3).mpg", 0, ""},
      {"C:\\100%\\(2).mpg", 2, "C:\\100%%\\(%s).mpg"},
      {"C:\\r\\(123456789012).mpg", 0, ""},  // too large for a part
      // Digits from position 100 on are not read.
      {std::string(98, 'a') + "(45).mpg", 4, nullptr},
  };
  for (const Case& c : cases) {
    const PlaybackParts parts = ParsePlaybackParts(c.path);
    EXPECT_EQ(parts.partNo, c.partNo) << c.path;
    if (c.templ != nullptr) {
      EXPECT_EQ(parts.partTemplate, c.templ) << c.path;
    }
  }
}

TEST(PlaybackParts, EndPartSearch) {
  const std::set<std::string> files = {"D:\\_(3)a.mpg", "D:\\_(4)a.mpg", "D:\\_(5)a.mpg",
                                       "D:\\(03)b.mpg", "D:\\(04)b.mpg"};
  const FileExists exists = [&](const std::string& path) { return files.count(path) > 0; };
  const PlaybackParts three = ParsePlaybackParts("D:\\_(3)a.mpg");
  EXPECT_EQ(FindEndPart(three.partTemplate, three.partNo, exists), 6);
  // Written with a leading zero, the probe does not find the file itself.
  const PlaybackParts zero = ParsePlaybackParts("D:\\(03)b.mpg");
  EXPECT_EQ(FindEndPart(zero.partTemplate, zero.partNo, exists), zero.partNo);
  EXPECT_EQ(FindEndPart("%s", 1, [](const std::string&) { return true; }), 1 + kMaxPartSearch);
}

TEST(PlaybackParts, StepsNeverBelowTheFirstPart) {
  EXPECT_EQ(StepPartNumber(3, false, 3), 3);
  EXPECT_EQ(StepPartNumber(5, false, 3), 4);
  EXPECT_EQ(StepPartNumber(5, true, 3), 6);
  EXPECT_EQ(RecordPartPath("D:\\%sTV.mpg", 2), "D:\\_(2)TV.mpg");
}

}  // namespace
}  // namespace brontel::recording
