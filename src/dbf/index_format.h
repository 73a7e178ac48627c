// The byte layout of an index file (described at the top of index_file.cpp). Private to the
// index file code.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "dbf/index_file.h"

namespace kx::dbf::index {

static_assert(std::endian::native == std::endian::little, "the index file layout is little-endian");

inline constexpr int kPageSize = 4096;
inline constexpr char kMagic[8] = {'K', 'X', 'N', 'D', 'X', '\r', '\n', '\x1a'};
inline constexpr uint32_t kVersion = 1;
inline constexpr int kHeaderFixed = 96;  // fixed fields; the expression text follows
inline constexpr int kMaxExprLength = kPageSize - kHeaderFixed;
inline constexpr int kPageHeader = 16;
inline constexpr int kMaxHeight = 32;

enum PageType : uint8_t { kLeaf = 1, kInner = 2, kFree = 3 };

template <class T>
T get(const uint8_t* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
template <class T>
void put(uint8_t* p, T v) {
  std::memcpy(p, &v, sizeof v);
}

struct Header {
  uint32_t key_width = 0;
  bool unfinished = false;
  uint64_t generation = 0;
  uint64_t entry_count = 0;
  uint32_t root = 0;
  uint32_t page_count = 0;
  uint32_t free_head = 0;
  uint32_t height = 1;  // 1: the root is a leaf
  DataSignature signature;
  std::string expr_text;

  // kHeaderFixed + expression bytes, checksum included.
  std::string encode() const;
};

enum class HeaderCheck { ok, foreign, damaged };
// Decodes and checks the header's own consistency (not the file size).
HeaderCheck decode(std::string_view bytes, Header* out);

// FNV-1a, 64 bits: the header's checksum.
uint64_t checksum(const uint8_t* p, std::size_t n);

// One page in memory. Leaf entries are key + record number; inner entries key + record number +
// child page, the key of entry 0 being a lower bound that searches never look at.
struct Page {
  uint32_t number = 0;
  bool dirty = false;
  alignas(8) uint8_t bytes[kPageSize] = {};

  uint8_t type() const { return bytes[0]; }
  uint16_t count() const { return get<uint16_t>(bytes + 2); }
  uint32_t prev() const { return get<uint32_t>(bytes + 4); }
  uint32_t next() const { return get<uint32_t>(bytes + 8); }
  uint32_t level() const { return get<uint32_t>(bytes + 12); }
  void set_type(uint8_t t) { bytes[0] = t; }
  void set_count(uint16_t n) { put(bytes + 2, n); }
  void set_prev(uint32_t p) { put(bytes + 4, p); }
  void set_next(uint32_t p) { put(bytes + 8, p); }
  void set_level(uint32_t l) { put(bytes + 12, l); }
  uint8_t* entry(int i, int entry_size) { return bytes + kPageHeader + i * entry_size; }
  const uint8_t* entry(int i, int entry_size) const { return bytes + kPageHeader + i * entry_size; }
};

}  // namespace kx::dbf::index
