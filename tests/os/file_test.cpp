#include "os/file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "os/error.h"
#include "temp_folder.h"

namespace kx::os {
namespace {

using testing::TempFolder;

TEST(File, ReadsShortOnlyAtEndOfFile) {
  TempFolder tmp;
  File f = File::open(tmp.write("a.bin", "0123456789"), File::Mode::read);
  char buf[16] = {};
  EXPECT_EQ(f.pread(buf, 4, 3), 4u);
  EXPECT_EQ(std::string(buf, 4), "3456");
  EXPECT_EQ(f.pread(buf, 16, 6), 4u);
  EXPECT_EQ(std::string(buf, 4), "6789");
  EXPECT_EQ(f.pread(buf, 4, 10), 0u);
  EXPECT_EQ(f.pread(buf, 4, 100), 0u);

  EXPECT_NO_THROW(f.pread_exact(buf, 10, 0));
  EXPECT_THROW(f.pread_exact(buf, 11, 0), Error);
}

TEST(File, WritesTruncatesAndReportsSize) {
  TempFolder tmp;
  File f = File::open(tmp / "new.bin", File::Mode::create_new);
  f.pwrite("abc", 3, 0);
  f.pwrite("XY", 2, 6);  // leaves a hole of zero bytes
  EXPECT_EQ(f.size(), 8);
  char buf[8];
  f.pread_exact(buf, 8, 0);
  EXPECT_EQ(std::string(buf, 8), std::string("abc\0\0\0XY", 8));
  f.truncate(2);
  EXPECT_EQ(f.size(), 2);
  f.fsync();
  f.close();
  EXPECT_FALSE(f.is_open());
  EXPECT_EQ(tmp.read("new.bin"), "ab");
}

TEST(File, OpenFailuresNameThePathAndTheCause) {
  TempFolder tmp;
  std::string existing = tmp.write("here.dbf", "x");
  struct Case {
    std::string path;
    File::Mode mode;
    int code;
  } cases[] = {
      {tmp / "missing.dbf", File::Mode::read, ENOENT},
      {tmp / "missing.dbf", File::Mode::read_write, ENOENT},
      {existing, File::Mode::create_new, EEXIST},
      {tmp.path(), File::Mode::read_write, EISDIR},
  };
  for (const Case& c : cases) {
    try {
      File::open(c.path, c.mode);
      ADD_FAILURE() << c.path << " opened";
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), c.code) << e.what();
      EXPECT_EQ(e.path(), c.path);
      EXPECT_NE(std::string(e.what()).find(c.path + ": "), std::string::npos) << e.what();
    }
  }
  EXPECT_EQ(tmp.read("here.dbf"), "x");  // create_new left the existing file alone
}

TEST(File, WritingAReadOnlyOpenFails) {
  TempFolder tmp;
  File f = File::open(tmp.write("ro.dbf", "x"), File::Mode::read);
  EXPECT_THROW(f.pwrite("y", 1, 0), Error);
  EXPECT_EQ(tmp.read("ro.dbf"), "x");
}

TEST(File, MovingTransfersTheDescriptor) {
  TempFolder tmp;
  File a = File::open(tmp.write("m.bin", "data"), File::Mode::read);
  int fd = a.fd();
  File b = std::move(a);
  EXPECT_FALSE(a.is_open());
  EXPECT_EQ(b.fd(), fd);
  File c;
  c = std::move(b);
  char buf[4];
  c.pread_exact(buf, 4, 0);
  EXPECT_EQ(std::string(buf, 4), "data");
  EXPECT_EQ(c.path(), tmp / "m.bin");
}

}  // namespace
}  // namespace kx::os
