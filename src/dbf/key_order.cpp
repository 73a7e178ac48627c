#include "dbf/key_order.h"

#include <algorithm>

namespace kx::dbf {
namespace {

class FileOrder final : public KeyOrder {
 public:
  explicit FileOrder(KeyExpr expr) : KeyOrder(std::move(expr)) {}
  IndexFile::Compare compare() const {
    const KeyExpr* e = &expr_;
    return [e](std::string_view a, std::string_view b) { return e->compare(a, b); };
  }
  void set(std::unique_ptr<IndexFile> f) { file_ = std::move(f); }
  bool usable() const { return file_ != nullptr; }

  std::string file() const override { return file_->path().string(); }
  std::optional<Position> first() override { return file_->first(); }
  std::optional<Position> last() override { return file_->last(); }
  std::optional<Position> lower_bound(std::string_view key) override {
    return file_->lower_bound(key);
  }
  std::optional<Position> next(const Position& at) override { return file_->next(at); }
  std::optional<Position> prev(const Position& at) override { return file_->prev(at); }
  void begin_change(Sync sync) override { file_->begin_change(sync); }
  void end_change(const DataSignature& sig, Sync sync) override { file_->end_change(sig, sync); }
  void sync() override { file_->sync(); }
  void insert(std::string_view key, uint32_t recno) override { file_->insert(key, recno); }
  void erase(std::string_view key, uint32_t recno) override { file_->erase(key, recno); }
  bool verify(std::string* problem) override { return file_->verify(problem); }
  std::vector<Entry> entries() override { return file_->entries(); }

 private:
  std::unique_ptr<IndexFile> file_;
};

// Entries sorted by key (the expression's collation), then record number.
class MemoryOrder final : public KeyOrder {
 public:
  MemoryOrder(KeyExpr expr, std::vector<Entry> entries)
      : KeyOrder(std::move(expr)), entries_(std::move(entries)) {
    std::sort(entries_.begin(), entries_.end(),
              [this](const Entry& a, const Entry& b) { return less(a.first, a.second, b); });
  }

  std::string file() const override { return {}; }
  std::optional<Position> first() override { return at(entries_.begin()); }
  std::optional<Position> last() override {
    return entries_.empty() ? std::nullopt : at(entries_.end() - 1);
  }
  std::optional<Position> lower_bound(std::string_view key) override {
    return at(std::lower_bound(entries_.begin(), entries_.end(), key,
                               [this](const Entry& e, std::string_view k) {
                                 return expr_.compare(e.first, k) < 0;
                               }));
  }
  std::optional<Position> next(const Position& p) override { return at(after(p)); }
  std::optional<Position> prev(const Position& p) override {
    auto it = find_first_not_less(p);
    return it == entries_.begin() ? std::nullopt : at(it - 1);
  }
  void begin_change(Sync) override {}
  void end_change(const DataSignature&, Sync) override {}
  void sync() override {}
  void insert(std::string_view key, uint32_t recno) override {
    Position p{std::string(key), recno};
    entries_.insert(find_first_not_less(p), Entry{p.key, recno});
  }
  void erase(std::string_view key, uint32_t recno) override {
    auto it = find_first_not_less(Position{std::string(key), recno});
    if (it != entries_.end() && it->second == recno && expr_.compare(it->first, key) == 0)
      entries_.erase(it);
  }
  bool verify(std::string*) override { return true; }
  std::vector<Entry> entries() override { return entries_; }

 private:
  using Iter = std::vector<Entry>::iterator;
  bool less(std::string_view key, uint32_t recno, const Entry& e) const {
    int c = expr_.compare(key, e.first);
    return c < 0 || (c == 0 && recno < e.second);
  }
  bool entry_less(const Entry& e, const Position& p) const {
    int c = expr_.compare(e.first, p.key);
    return c < 0 || (c == 0 && e.second < p.recno);
  }
  Iter find_first_not_less(const Position& p) {
    return std::lower_bound(entries_.begin(), entries_.end(), p,
                            [this](const Entry& e, const Position& q) { return entry_less(e, q); });
  }
  Iter after(const Position& p) {
    auto it = find_first_not_less(p);
    if (it != entries_.end() && it->second == p.recno && expr_.compare(it->first, p.key) == 0) ++it;
    return it;
  }
  std::optional<Position> at(Iter it) const {
    if (it == entries_.end()) return std::nullopt;
    return Position{it->first, it->second};
  }

  std::vector<Entry> entries_;
};

}  // namespace

std::unique_ptr<KeyOrder> KeyOrder::open_file(const std::string& path, KeyExpr expr,
                                              const DataSignature& sig, bool read_only,
                                              IndexState* state) {
  auto order = std::make_unique<FileOrder>(std::move(expr));
  order->set(IndexFile::open(path, order->expr().text(), order->expr().width(),
                             order->compare(), sig, read_only, state));
  if (!order->usable()) return nullptr;
  return order;
}

std::unique_ptr<KeyOrder> KeyOrder::build_file(const std::string& path, KeyExpr expr,
                                               const IndexFile::Keys& entries,
                                               const DataSignature& sig) {
  auto order = std::make_unique<FileOrder>(std::move(expr));
  order->set(IndexFile::build(path, order->expr().text(), order->expr().width(),
                              order->compare(), entries, sig));
  return order;
}

std::unique_ptr<KeyOrder> KeyOrder::in_memory(KeyExpr expr, std::vector<Entry> entries) {
  return std::make_unique<MemoryOrder>(std::move(expr), std::move(entries));
}

}  // namespace kx::dbf
