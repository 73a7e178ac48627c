// An index file: a B+tree of fixed-width (key, record number) entries in fixed-size pages.
// The file format is ours (see docs/architecture.md): a header page with a magic number, a
// version, the key expression text, the key width, the signature of the data file it describes,
// a change mark and a generation counter, then the tree pages.
//
// Every operation reads what it needs from the file (pread); nothing is trusted across
// operations without checking the header's generation, so a file changed by another process is
// always seen as it is now. The caller serialises writers (the table's update lock).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kx::dbf {

// What identifies the state of the data file an index describes.
struct DataSignature {
  uint32_t record_count = 0;
  uint64_t file_size = 0;
  int64_t mtime_ns = 0;
  friend bool operator==(const DataSignature&, const DataSignature&) = default;
};

// Thrown by any operation of an open index file that finds it damaged: a page out of range or
// malformed, a file shorter than its header says, a header that changed into nonsense, or a
// change that another process began and never ended (seen while the caller holds the lock that
// keeps writers out). The index must be rebuilt; nothing read from it before can be trusted.
class IndexDamaged : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Why an index file cannot be used as it is.
enum class IndexState { ok, missing, foreign, damaged, other_expression, stale, unfinished };

class IndexFile {
 public:
  // Compares two keys; a key shorter than the width compares as a prefix (equal when it is one).
  using Compare = std::function<int(std::string_view, std::string_view)>;
  using Entry = std::pair<std::string, uint32_t>;  // key (width bytes), record number
  static constexpr int kMaxKeyWidth = 1024;

  // Writes a complete new index file (through a file beside it and a rename when `path` does not
  // exist yet; in place otherwise, so processes that have it open see the new contents) from
  // unsorted entries (an entry given twice is kept once). Throws std::runtime_error on an I/O
  // failure, std::invalid_argument on a key width outside 1..kMaxKeyWidth or a key of another
  // width.
  static std::unique_ptr<IndexFile> build(const std::filesystem::path& path,
                                          std::string_view expr_text, int key_width, Compare cmp,
                                          std::vector<Entry> entries, const DataSignature& sig);
  // Many entries in two flat arrays: key i is bytes [i × width, (i + 1) × width) of `keys`.
  struct Keys {
    std::string keys;
    std::vector<uint32_t> recnos;
  };
  // The same from flat arrays (std::invalid_argument when keys is not recnos × width bytes).
  static std::unique_ptr<IndexFile> build(const std::filesystem::path& path,
                                          std::string_view expr_text, int key_width, Compare cmp,
                                          const Keys& entries, const DataSignature& sig);

  // Opens and validates the header (cost independent of the number of entries). Returns nullptr
  // and sets *state when the file is missing, foreign, damaged, for another expression or width,
  // stale (signature differs from `expected`) or unfinished (a change was begun and not ended).
  static std::unique_ptr<IndexFile> open(const std::filesystem::path& path,
                                         std::string_view expr_text, int key_width, Compare cmp,
                                         const DataSignature& expected, bool read_only,
                                         IndexState* state);

  ~IndexFile();
  const std::filesystem::path& path() const;
  int key_width() const;
  uint64_t entry_count() const;

  // The change protocol: begin_change() marks the file unfinished before any page changes;
  // end_change() writes the changed pages, then the header with the new data signature and the
  // mark cleared. Every write goes straight to the file (the page cache every process shares),
  // so a process killed at any instant leaves either the change complete or a file that open()
  // reports as unfinished. Sync::disk also waits for the disk at both steps (the mark before
  // any page, the pages before the header that clears it, the header itself), so that a machine
  // that stops leaves the same two outcomes; Sync::none leaves that to sync().
  enum class Sync { none, disk };
  void begin_change(Sync sync = Sync::none);
  void end_change(const DataSignature& sig, Sync sync = Sync::none);
  // Waits until everything written to the file is on the disk.
  void sync();

  void insert(std::string_view key, uint32_t recno);
  bool erase(std::string_view key, uint32_t recno);  // false when the entry was not there

  // A position in key order. Positions survive changes to the file by other writers: a cursor
  // re-finds its (key, record) after the file's generation moved.
  struct Position {
    std::string key;
    uint32_t recno = 0;
  };
  std::optional<Position> first();
  std::optional<Position> last();
  // First entry whose key is >= `key` (a shorter key is a prefix: the first entry it matches).
  std::optional<Position> lower_bound(std::string_view key);
  std::optional<Position> next(const Position& at);  // entry after (at.key, at.recno)
  std::optional<Position> prev(const Position& at);

  // Full structural check (page links, order, counts); for `kxdbf check` and the tests.
  bool verify(std::string* problem);
  // Every entry in key order.
  std::vector<Entry> entries();

  class Impl;

 private:
  explicit IndexFile(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace kx::dbf
