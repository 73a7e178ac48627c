#include "dbf/memo_file.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace kx::dbf {
namespace {

uint32_t be32(const unsigned char* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}
uint32_t le32(const unsigned char* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
void put_be32(char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
}

constexpr int kDbtBlock = 512;
constexpr uint32_t kFptText = 1;

}  // namespace

std::string MemoFile::empty_fpt(int block_size) {
  std::string b(kHeaderSize, '\0');
  uint32_t first = (kHeaderSize + block_size - 1) / block_size;
  put_be32(b.data(), first);
  b[6] = static_cast<char>((block_size >> 8) & 0xFF);
  b[7] = static_cast<char>(block_size & 0xFF);
  return b;
}

std::string MemoFile::empty_dbt() {
  std::string b(kDbtBlock, '\0');
  b[0] = 1;
  return b;
}

MemoFile::MemoFile(const std::string& path, Kind kind, bool writable)
    : file_(os::File::open(path, writable ? os::File::Mode::read_write : os::File::Mode::read)),
      kind_(kind) {
  if (kind_ == Kind::dbt) {
    block_size_ = kDbtBlock;
    return;
  }
  unsigned char h[8];
  if (file_.pread(h, sizeof h, 0) != sizeof h) throw std::invalid_argument("memo header too short");
  block_size_ = h[6] << 8 | h[7];
  if (block_size_ == 0) throw std::invalid_argument("memo block size 0");
}

uint32_t MemoFile::next_free() const {
  unsigned char h[4];
  if (file_.pread(h, sizeof h, 0) != sizeof h) throw std::invalid_argument("memo header too short");
  return kind_ == Kind::fpt ? be32(h) : le32(h);
}

std::string MemoFile::problem(uint32_t block) const {
  try {
    read(block);
  } catch (const std::invalid_argument& e) {
    return e.what();
  }
  return {};
}

std::string MemoFile::read(uint32_t block) const {
  const int64_t size = file_.size();
  const int64_t at = int64_t{block} * block_size_;
  const std::string where = "memo block " + std::to_string(block);
  if (block == 0 || at < kHeaderSize || at + 8 > size)
    throw std::invalid_argument(where + " lies outside the memo file");
  unsigned char head[8];
  file_.pread_exact(head, sizeof head, at);
  if (kind_ == Kind::fpt) {
    uint32_t length = be32(head + 4);
    if (at + 8 + int64_t{length} > size) throw std::invalid_argument(where + " runs past the end");
    std::string text(length, '\0');
    file_.pread_exact(text.data(), length, at + 8);
    return text;
  }
  if (head[0] == 0xFF && head[1] == 0xFF && head[2] == 0x08 && head[3] == 0x00) {
    uint32_t length = le32(head + 4);
    if (length < 8 || at + int64_t{length} > size)
      throw std::invalid_argument(where + " runs past the end");
    std::string text(length - 8, '\0');
    file_.pread_exact(text.data(), text.size(), at + 8);
    return text;
  }
  // dBASE III: read on to 0x1A 0x1A (a lone 0x1A at the end of the file ends it too).
  std::string text;
  char chunk[kDbtBlock];
  for (int64_t pos = at; pos < size; pos += kDbtBlock) {
    std::size_t n = file_.pread(chunk, sizeof chunk, pos);
    text.append(chunk, n);
    auto end = text.find("\x1A\x1A");
    if (end != std::string::npos) return text.substr(0, end);
  }
  auto end = text.find('\x1A');
  if (end == std::string::npos) throw std::invalid_argument(where + " has no end mark");
  return text.substr(0, end);
}

uint32_t MemoFile::write(std::string_view text) {
  std::string bytes;
  if (kind_ == Kind::fpt) {
    bytes.assign(8, '\0');
    put_be32(bytes.data(), kFptText);
    put_be32(bytes.data() + 4, static_cast<uint32_t>(text.size()));
    bytes += text;
  } else {
    if (text.find("\x1A\x1A") != std::string_view::npos)
      throw std::invalid_argument("a DBT memo text cannot hold 0x1A 0x1A");
    bytes = std::string(text) + "\x1A\x1A";
  }
  bytes.resize((bytes.size() + block_size_ - 1) / block_size_ * block_size_, '\0');
  // Past the header's free block and past whatever the file holds beyond it, so that no byte
  // of any memo (also one left by a writer that stopped early) is ever overwritten.
  const int64_t end_block = (file_.size() + block_size_ - 1) / block_size_;
  const int64_t first_block = (kHeaderSize + block_size_ - 1) / block_size_;
  const int64_t start = std::max({int64_t{next_free()}, end_block, first_block});
  const int64_t blocks = static_cast<int64_t>(bytes.size()) / block_size_;
  if (start + blocks > UINT32_MAX) throw std::invalid_argument("memo file full");
  const auto block = static_cast<uint32_t>(start);
  file_.pwrite(bytes.data(), bytes.size(), start * block_size_);
  const auto next = static_cast<uint32_t>(start + blocks);
  char h[4];
  if (kind_ == Kind::fpt) {
    put_be32(h, next);
  } else {
    for (int i = 0; i < 4; ++i) h[i] = static_cast<char>((next >> (8 * i)) & 0xFF);
  }
  file_.pwrite(h, sizeof h, 0);
  return block;
}

}  // namespace kx::dbf
