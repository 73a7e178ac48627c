// Memo files: the long texts of M fields, referenced from the record by block number.
//
// FPT (read and written): a 512-byte header with the next free block (4 bytes, big endian, at
// offset 0) and the block size (2 bytes, big endian, at offset 6; 64 for new files). A memo
// starts on a block: type (4 bytes BE, 1 = text), length (4 bytes BE), then the text, padded
// with zeros to whole blocks.
// DBT: 512-byte blocks and the next free block (4 bytes, little endian) at offset 0; dBASE III
// texts end with 0x1A 0x1A, dBASE IV blocks start with FF FF 08 00 and a 4-byte little-endian
// length that counts those 8 bytes. Both are read; texts are written in the dBASE III form.
//
// A memo is never changed in place: a new text goes to new blocks at the end, then the header's
// next free block moves, then the record points to it. A process killed in between leaves at
// worst unused blocks, which pack drops.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "os/file.h"

namespace kx::dbf {

class MemoFile {
 public:
  enum class Kind { fpt, dbt };
  static constexpr int kDefaultBlockSize = 64;
  static constexpr int kHeaderSize = 512;

  // The bytes of an empty FPT file / DBT file.
  static std::string empty_fpt(int block_size = kDefaultBlockSize);
  static std::string empty_dbt();

  // Throws kx::os::Error when the file cannot be opened, std::invalid_argument when its header
  // is not sound.
  MemoFile(const std::string& path, Kind kind, bool writable);

  Kind kind() const { return kind_; }
  const std::string& path() const { return file_.path(); }
  int block_size() const { return block_size_; }

  // The text of the memo at `block`. Throws std::invalid_argument when the block is outside
  // the file or its length runs past the end.
  std::string read(uint32_t block) const;
  // Empty when a memo can be read at `block`; otherwise what is wrong.
  std::string problem(uint32_t block) const;
  // Writes `text` into new blocks at the end and returns the first block. The caller holds the
  // table's update lock. Throws std::invalid_argument for a DBT text holding 0x1A 0x1A.
  uint32_t write(std::string_view text);
  // The header's next free block, as in the file now.
  uint32_t next_free() const;
  void fsync() { file_.fsync(); }

 private:
  os::File file_;
  Kind kind_;
  int block_size_ = kDefaultBlockSize;
};

}  // namespace kx::dbf
