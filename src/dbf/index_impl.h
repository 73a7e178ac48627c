// The open index file: header state, the page cache and the B+tree operations. Private to the
// index file code.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/index_file.h"
#include "dbf/index_format.h"
#include "os/file.h"

namespace kx::dbf {

// The pages of one file kept in memory, found by number (page numbers are dense, so a slot per
// page of the file).
class PageCache {
 public:
  index::Page* find(uint32_t number) const {
    return number < slots_.size() ? slots_[number].get() : nullptr;
  }
  index::Page& put(uint32_t number, std::unique_ptr<index::Page> page) {
    if (number >= slots_.size()) slots_.resize(std::size_t{number} + 1);
    if (!slots_[number]) ++size_;
    slots_[number] = std::move(page);
    return *slots_[number];
  }
  std::size_t size() const { return size_; }
  void clear() {
    slots_.clear();
    size_ = 0;
  }
  // Every cached page, in page order.
  template <class Fn>
  void for_each(Fn fn) {
    for (auto& slot : slots_)
      if (slot) fn(*slot);
  }

 private:
  std::vector<std::unique_ptr<index::Page>> slots_;
  std::size_t size_ = 0;
};

class IndexFile::Impl {
 public:
  Impl(std::filesystem::path path, os::File file, index::Header header, Compare cmp, bool read_only);

  const std::filesystem::path& path() const { return path_; }
  int key_width() const { return static_cast<int>(h_.key_width); }
  uint64_t entry_count();

  void begin_change(Sync sync);
  void end_change(const DataSignature& sig, Sync sync);
  void sync() { file_.fsync(); }
  void insert(std::string_view key, uint32_t recno);
  bool erase(std::string_view key, uint32_t recno);

  std::optional<Position> first();
  std::optional<Position> last();
  std::optional<Position> lower_bound(std::string_view key);
  std::optional<Position> next(const Position& at);
  std::optional<Position> prev(const Position& at);

  bool verify(std::string* problem);
  std::vector<Entry> entries();

 private:
  // A place in a leaf; slot == count means "after the last entry of this leaf".
  struct Spot {
    index::Page* leaf = nullptr;
    int slot = 0;
  };
  struct PathStep {
    uint32_t page;
    int slot;
  };

  [[noreturn]] void damaged(const std::string& what) const;
  // At the start of every operation: sees changes by other processes through the header.
  void refresh();
  void read_header(index::Header* out);
  void write_header();
  index::Page& load(uint32_t number, uint32_t level);
  index::Page& allocate(uint8_t type, uint32_t level);
  void release(index::Page& page);
  void flush_dirty();
  void drop_cache();
  // Before a change of the tree: forgets the walk hint, writes back and drops the cache if full.
  void make_room();
  void require_change(const char* what) const;

  int entry_size(uint32_t level) const { return static_cast<int>(h_.key_width) + (level ? 8 : 4); }
  int capacity(uint32_t level) const { return (index::kPageSize - index::kPageHeader) / entry_size(level); }
  std::string_view key_at(const index::Page& p, int i) const;
  uint32_t recno_at(const index::Page& p, int i) const;
  uint32_t child_at(const index::Page& p, int i) const;
  // Entry i of the page against (key, recno); a shorter key is a prefix (see Compare).
  int compare_entry(const index::Page& p, int i, std::string_view key, uint32_t recno) const;
  // First slot whose entry is >= (or > when `after`) the target.
  int search_leaf(const index::Page& p, std::string_view key, uint32_t recno, bool after) const;
  // The child to descend into for the target.
  int search_inner(const index::Page& p, std::string_view key, uint32_t recno) const;
  Spot descend(std::string_view key, uint32_t recno, bool after, std::vector<PathStep>* path);
  Spot edge(bool leftmost);
  // Moves a spot to a real entry: forward over the end of a leaf; nullopt at the end.
  std::optional<Position> settle_forward(Spot s);
  std::optional<Position> before(Spot s);
  // The entry at a spot; remembered, so that the next step of a walk starts from there.
  Position position(const index::Page& leaf, int slot);
  // The spot of `at` when it is the position returned last and nothing changed since.
  std::optional<Spot> hinted(const Position& at);
  int compare_positions(const Position& a, const Position& b) const;

  void insert_into_parent(std::vector<PathStep>& path, const uint8_t* sep, uint32_t child);
  // Removes the child at the end of the path from its parent, and parents left empty; then
  // replaces a root that has one child by that child.
  void remove_from_parent(std::vector<PathStep>& path);

  bool verify_page(uint32_t number, uint32_t level, const std::string* lo, uint32_t lo_rec,
                   const std::string* hi, uint32_t hi_rec, std::vector<uint32_t>& leaves,
                   std::vector<char>& seen, uint64_t& count, std::string* problem);

  std::filesystem::path path_;
  os::File file_;
  index::Header h_;
  Compare cmp_;
  bool read_only_;
  bool in_change_ = false;
  uint64_t cached_generation_;
  PageCache cache_;
  uint64_t epoch_ = 1;  // moves whenever cached pages or the tree change
  struct {
    uint64_t epoch = 0;
    uint32_t page = 0;
    int slot = 0;
  } hint_;
};

}  // namespace kx::dbf
