#include "os/replace.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "os/error.h"
#include "os/folder.h"
#include "os/path.h"
#include "temp_folder.h"

namespace kx::os {
namespace {

using testing::TempFolder;

std::size_t entries_in(const std::string& folder) { return list_folder(folder, "*").size(); }

TEST(AtomicReplace, OldContentsStayUntilCommit) {
  TempFolder tmp;
  std::string target = tmp.write("IMP0115.DBF", "old");
  File reader = File::open(target, File::Mode::read);
  {
    AtomicReplace replace(target);
    replace.write("new ");
    replace.write("contents");
    EXPECT_EQ(parent_of(replace.temp_path()), tmp.path());
    EXPECT_EQ(tmp.read("IMP0115.DBF"), "old");
    // The temporary is never taken for a table by the program's wildcards.
    EXPECT_EQ(list_folder(tmp.path(), "*.DBF").size(), 1u);
    EXPECT_EQ(list_folder(tmp.path(), "IMP*").size(), 1u);
    replace.commit();
  }
  EXPECT_EQ(tmp.read("IMP0115.DBF"), "new contents");
  EXPECT_EQ(entries_in(tmp.path()), 1u);
  char buf[3];
  reader.pread_exact(buf, 3, 0);  // an open of the old file still sees the old file
  EXPECT_EQ(std::string(buf, 3), "old");
}

TEST(AtomicReplace, AbandonedTemporaryIsRemoved) {
  TempFolder tmp;
  std::string target = tmp.write("IMP0115.DBF", "old");
  {
    AtomicReplace replace(target);
    replace.write("half written");
  }
  EXPECT_EQ(tmp.read("IMP0115.DBF"), "old");
  EXPECT_EQ(entries_in(tmp.path()), 1u);
}

TEST(AtomicReplace, FailedCommitLeavesTargetAndNoTemporary) {
  TempFolder tmp;
  tmp.write("target/inside", "x");  // a non-empty folder cannot be renamed over
  {
    AtomicReplace replace(tmp / "target");
    replace.write("data");
    EXPECT_THROW(replace.commit(), Error);
  }
  EXPECT_EQ(tmp.read("target/inside"), "x");
  EXPECT_EQ(entries_in(tmp.path()), 1u);
}

TEST(AtomicReplace, ReplacesTheExistingFileWhateverItsCase) {
  TempFolder tmp;
  tmp.write("Dados/imp0115.dbf", "old");
  replace_file(tmp / "DADOS/IMP0115.DBF", "new");
  EXPECT_EQ(tmp.read("Dados/imp0115.dbf"), "new");
  EXPECT_EQ(entries_in(tmp / "Dados"), 1u);
  EXPECT_EQ(entries_in(tmp.path()), 1u);

  copy_file(tmp / "dados/IMP0115.dbf", tmp / "Dados/IMP0215.DBF");  // a new file keeps its case
  EXPECT_EQ(tmp.read("Dados/IMP0215.DBF"), "new");
}

TEST(AtomicReplace, KeepsPermissionsAndFollowsLinks) {
  TempFolder tmp;
  std::string real = tmp.write("real.dbf", "old");
  ::chmod(real.c_str(), 0640);
  std::filesystem::create_symlink(real, tmp / "link.dbf");

  replace_file(tmp / "link.dbf", "new");
  EXPECT_TRUE(std::filesystem::is_symlink(tmp / "link.dbf"));
  EXPECT_EQ(tmp.read("real.dbf"), "new");
  struct stat st;
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(AtomicReplace, PositionedWritesGoIntoTheNewFile) {
  TempFolder tmp;
  AtomicReplace replace(tmp / "new.dbf");
  replace.write("....body");
  replace.file().pwrite("HEAD", 4, 0);
  replace.commit();
  EXPECT_EQ(tmp.read("new.dbf"), "HEADbody");
}

TEST(ReplaceFile, WritesWholeContentsIncludingNone) {
  TempFolder tmp;
  std::string target = tmp.write("a.txt", "something");
  replace_file(target, "");
  EXPECT_TRUE(std::filesystem::exists(target));
  EXPECT_EQ(std::filesystem::file_size(target), 0u);
  replace_file(tmp / "b.txt", "created");
  EXPECT_EQ(tmp.read("b.txt"), "created");
}

TEST(CopyFile, CopiesEveryByteAndTheModificationTime) {
  TempFolder tmp;
  for (std::size_t size : {std::size_t{0}, std::size_t{65536}, std::size_t{200001}}) {
    std::string contents(size, '\0');
    for (std::size_t i = 0; i < size; ++i) contents[i] = static_cast<char>(i * 7 + i / 251);
    std::string from = tmp.write("from.dbf", contents);
    std::filesystem::last_write_time(from, std::filesystem::file_time_type::clock::now() -
                                               std::chrono::hours(48));
    tmp.write("to/to.dbf", "previous");

    copy_file(from, tmp / "to/to.dbf");
    EXPECT_EQ(tmp.read("to/to.dbf"), contents) << size;
    EXPECT_EQ(std::filesystem::last_write_time(tmp / "to/to.dbf"),
              std::filesystem::last_write_time(from));
    EXPECT_EQ(entries_in(tmp / "to"), 1u);
  }
  EXPECT_THROW(copy_file(tmp / "none.dbf", tmp / "to/to.dbf"), Error);
}

}  // namespace
}  // namespace kx::os
