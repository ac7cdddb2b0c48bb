// Raw file routines.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "VK9_System.h"

namespace {

TEST(OpenFileShared, CreatesAMissingFileEmptyButNoMissingFolder) {
  test::TempDir dir;
  const THandle file = OpenFileShared(dir.EnginePath() + "new.ini");
  ASSERT_NE(file, platform::kInvalidFile);
  CloseFileHandle(file);
  EXPECT_TRUE(test::NativeFileExists(dir.NativePath() + "/new.ini"));
  EXPECT_EQ(test::ReadNativeFile(dir.NativePath() + "/new.ini"), "");

  EXPECT_EQ(OpenFileShared(dir.EnginePath() + "missing\\new.ini"), platform::kInvalidFile);
  EXPECT_FALSE(test::NativeFileExists(dir.NativePath() + "/missing"));
}

TEST(ReadWriteFileAt, MoveUnlessTheOffsetIsMinusOne) {
  test::TempDir dir;
  const THandle file = OpenFileShared(dir.EnginePath() + "data.bin");
  ASSERT_NE(file, platform::kInvalidFile);
  EXPECT_EQ(WriteFileAt(file, "abcdef", 6, 0), 6);
  EXPECT_EQ(WriteFileAt(file, "XY", 2, 2), 2);
  EXPECT_EQ(WriteFileAt(file, "!", 1, -1), 1);  // goes on after "XY"

  char buffer[16] = {};
  EXPECT_EQ(ReadFileAt(file, buffer, 16, 0), 6);
  EXPECT_EQ(std::string(buffer, 6), "abXY!f");
  EXPECT_EQ(ReadFileAt(file, buffer, 3, 1), 3);
  EXPECT_EQ(std::string(buffer, 3), "bXY");
  EXPECT_EQ(ReadFileAt(file, buffer, 16, -1), 2);
  EXPECT_EQ(ReadFileAt(file, buffer, 16, -1), 0);  // at the end

  EXPECT_THROW(WriteFileAt(file, "x", -1, 0), ERangeError);
  EXPECT_THROW(ReadFileAt(file, buffer, -1, 0), ERangeError);
  CloseFileHandle(file);
}

}  // namespace
