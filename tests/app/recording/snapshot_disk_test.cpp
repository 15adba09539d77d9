// Snapshot names and sizes, and the disk-check arithmetic.
#include <gtest/gtest.h>

#include "app/recording/disk_space.h"
#include "app/recording/record_names.h"
#include "app/recording/snapshot_names.h"

namespace brontel::recording {
namespace {

TEST(SnapshotNames, CounterAndDigits) {
  const std::pair<std::int32_t, const char*> cases[] = {{9999, "0001"}, {41, "0042"}, {999, "1000"},
                                                        {8, "0009"},    {0, "0001"},  {-5, "0001"},
                                                        {12000, "0001"}};
  for (const auto& [counter, text] : cases) {
    EXPECT_EQ(SnapshotNumberText(NextSnapshotCounter(counter)), text) << counter;
  }
}

TEST(SnapshotNames, SizeExtensionAndFolder) {
  EXPECT_EQ(SnapshotSize(320).height, 240);
  EXPECT_EQ(SnapshotSize(640).width, 640);
  EXPECT_EQ(SnapshotSize(720).width, 800);
  EXPECT_EQ(SnapshotSize(720).height, 600);
  EXPECT_STREQ(SnapshotExtension(1), ".jpg");
  EXPECT_STREQ(SnapshotExtension(2), ".bmp");
  EXPECT_EQ(JoinFolder("C:\\", "Snap0001.bmp"), "C:\\Snap0001.bmp");
  EXPECT_EQ(JoinFolder("C:\\pics", "Snap0001.bmp"), "C:\\pics\\Snap0001.bmp");
  EXPECT_EQ(FormatStrings("Snap_%s-%s-%s_%s%s%s",
                          DateTimeArgs({2003, 3, 5, 9, 4, 3}, DateOrder::kYearMonthDay)),
            "Snap_2003-03-05_090403");
}

TEST(DiskSpace, PatternsRootsAndUsableBytes) {
  EXPECT_EQ(FreeSpaceSearchPattern("C:\\"), "C:\\*");
  EXPECT_EQ(FreeSpaceSearchPattern("C:"), "C:\\*");
  EXPECT_EQ(FreeSpaceSearchPattern("C:\\rec\\"), "C:\\rec");
  EXPECT_EQ(FreeSpaceSearchPattern("C:\\rec"), "C:\\rec");
  EXPECT_EQ(VolumeRootOf("E:\\rec\\x"), "E:\\");
  EXPECT_EQ(VolumeRootOf("\\\\server\\share"), "");
  EXPECT_EQ(UsableRecordBytes(kReservedFreeBytes + 7, true), 7);
  EXPECT_EQ(UsableRecordBytes(50, true), 50 - kReservedFreeBytes);
  EXPECT_EQ(UsableRecordBytes(kFatLargestFile * 3, false), kFatLargestFile);
  EXPECT_EQ(UsableRecordBytes(kFatLargestFile * 3, true), kFatLargestFile * 3 - kReservedFreeBytes);
  EXPECT_FALSE(EnoughFreeSpace(kReservedFreeBytes));
  EXPECT_TRUE(EnoughFreeSpace(kReservedFreeBytes + 1));
}

}  // namespace
}  // namespace brontel::recording
