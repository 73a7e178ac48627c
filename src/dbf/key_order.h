// One order of a table's records by a key expression: an index file or an index kept in
// memory. Both offer the same walk and change operations, so the table does not care which.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dbf/expr.h"
#include "dbf/index_file.h"

namespace kx::dbf {

class KeyOrder {
 public:
  using Position = IndexFile::Position;
  using Entry = IndexFile::Entry;

  // An index file, opened when usable (nullptr and *state otherwise).
  static std::unique_ptr<KeyOrder> open_file(const std::string& path, KeyExpr expr,
                                             const DataSignature& sig, bool read_only,
                                             IndexState* state);
  // A new index file from the entries (written through a rename or in place, as IndexFile::build).
  static std::unique_ptr<KeyOrder> build_file(const std::string& path, KeyExpr expr,
                                              const IndexFile::Keys& entries,
                                              const DataSignature& sig);
  // An index in memory only.
  static std::unique_ptr<KeyOrder> in_memory(KeyExpr expr, std::vector<Entry> entries);

  virtual ~KeyOrder() = default;
  const KeyExpr& expr() const { return expr_; }
  std::string key_of(const RecordView& record) const { return expr_.eval(record); }
  // The index file; empty for an index in memory.
  virtual std::string file() const = 0;

  virtual std::optional<Position> first() = 0;
  virtual std::optional<Position> last() = 0;
  virtual std::optional<Position> lower_bound(std::string_view key) = 0;
  virtual std::optional<Position> next(const Position& at) = 0;
  virtual std::optional<Position> prev(const Position& at) = 0;

  using Sync = IndexFile::Sync;
  virtual void begin_change(Sync sync) = 0;
  virtual void end_change(const DataSignature& sig, Sync sync) = 0;
  // Puts what was written on the disk (nothing to do for an index in memory).
  virtual void sync() = 0;
  virtual void insert(std::string_view key, uint32_t recno) = 0;
  virtual void erase(std::string_view key, uint32_t recno) = 0;

  virtual bool verify(std::string* problem) = 0;
  virtual std::vector<Entry> entries() = 0;

 protected:
  explicit KeyOrder(KeyExpr expr) : expr_(std::move(expr)) {}
  KeyExpr expr_;
};

}  // namespace kx::dbf
