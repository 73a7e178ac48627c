// Index file format, version 1. All integers little-endian.
//
// The file is a sequence of 4096-byte pages. Page 0 is the header:
//   0   8  magic "KXNDX\r\n\x1a" (an index of another program or format is "foreign")
//   8   4  version (1)                   12  4  page size (4096)
//   16  4  key width in bytes            20  4  unfinished mark: 1 from begin_change() until
//                                                 end_change(); a file left so is rebuilt
//   24  8  generation: changes with every change of the file (random on build, +1 on each
//          begin_change() and end_change()); readers drop their cached pages when it moves
//   32  8  entry count                   40  4  root page
//   44  4  page count (header included)  48  4  first free page (0: none)
//   52  4  height (1: the root is a leaf)
//   56  4  data signature: record count  60  4  zero
//   64  8  data signature: file size     72  8  data signature: modification time (ns)
//   80  4  length L of the key expression text (at most 4000)
//   88  8  FNV-1a 64 checksum of bytes 0..96+L with this field taken as zero
//   96  L  the key expression text
// Every other page starts with a 16-byte page header:
//   0 1 type (1 leaf, 2 inner, 3 free)   2 2 entry count
//   4 4 previous leaf (leaves; 0: none)  8 4 next leaf, or next free page (0: none)
//   12 4 level (0 for leaves, the parent one more than its children)
// then fixed-width entries. Leaf entry: key (key width bytes), record number (4). Inner entry:
// key, record number, child page (4); entry i is the smallest (key, record) its child held when
// the child was split off, so every entry below child i is >= entry i and < entry i+1. Entry 0's
// key is never compared (it stands for "below everything"). Entries are ordered by the key
// expression's comparison and then by record number, so every entry is unique. Leaves are
// linked both ways in key order. Only the root leaf may be empty: a leaf or inner page that
// loses its last entry is unlinked and put on the free list, and a root with one child is
// replaced by that child.
//
// Crash safety: begin_change() writes the unfinished mark before any page changes; end_change()
// writes every changed page, then the header with the new data signature and the mark cleared.
// These are plain pwrites in this order: the page cache keeps them for every process, so a
// process killed at any instant leaves the mark set, or the whole change. The next open reports a
// file left marked as unfinished and the table rebuilds it. Against a machine that stops, the
// same order holds only with Sync::disk (an fsync after the mark, after the pages and after the
// header), which the table uses once per exclusive batch; after shared changes the disk has
// them when the table is flushed or closed; a reader that meets the mark
// (it holds the table's update lock, so no writer is active) or a malformed page throws
// IndexDamaged. An index file is replaced in place (existing file) or through a new file and a
// rename (new file); an in-place rebuild sets the mark first, so a rebuild cut short is seen.
#include "dbf/index_file.h"

#include <algorithm>
#include <cerrno>

#include "dbf/index_impl.h"
#include "os/error.h"

namespace kx::dbf {

using index::Page;

namespace {
// Pages kept in memory by one open index file: outside a change they are dropped whenever
// another process changed the file (or there are too many); inside one the changed pages are
// written back and all dropped when the larger change limit is passed.
constexpr std::size_t kCacheLimit = 16384;
constexpr std::size_t kChangeCacheLimit = 32768;
}  // namespace

IndexFile::Impl::Impl(std::filesystem::path path, os::File file, index::Header header, Compare cmp,
                      bool read_only)
    : path_(std::move(path)),
      file_(std::move(file)),
      h_(std::move(header)),
      cmp_(std::move(cmp)),
      read_only_(read_only),
      cached_generation_(h_.generation) {}

void IndexFile::Impl::damaged(const std::string& what) const {
  throw IndexDamaged("index " + path_.string() + ": " + what);
}

void IndexFile::Impl::read_header(index::Header* out) {
  std::string bytes(index::kHeaderFixed + h_.expr_text.size(), '\0');
  bytes.resize(file_.pread(bytes.data(), bytes.size(), 0));
  if (index::decode(bytes, out) != index::HeaderCheck::ok) damaged("header damaged");
  if (out->key_width != h_.key_width || out->expr_text != h_.expr_text)
    damaged("replaced by an index of another expression");
}

void IndexFile::Impl::refresh() {
  if (in_change_) return;
  index::Header h;
  read_header(&h);
  if (h.generation != cached_generation_ || cache_.size() > kCacheLimit) drop_cache();
  h_ = std::move(h);
  cached_generation_ = h_.generation;
  if (h_.unfinished) damaged("a change was begun and never finished");
}

void IndexFile::Impl::drop_cache() {
  cache_.clear();
  ++epoch_;
}

void IndexFile::Impl::make_room() {
  ++epoch_;
  if (cache_.size() <= kChangeCacheLimit) return;
  flush_dirty();
  drop_cache();
}

void IndexFile::Impl::write_header() {
  std::string bytes = h_.encode();
  file_.pwrite(bytes.data(), bytes.size(), 0);
}

Page& IndexFile::Impl::load(uint32_t number, uint32_t level) {
  if (number == 0 || number >= h_.page_count) damaged("page " + std::to_string(number) + " out of range");
  if (Page* cached = cache_.find(number)) {
    Page& p = *cached;
    if (p.type() == index::kFree || p.level() != level) damaged("page " + std::to_string(number) + " misplaced");
    return p;
  }
  auto page = std::make_unique<Page>();
  page->number = number;
  if (file_.pread(page->bytes, index::kPageSize, int64_t{number} * index::kPageSize) !=
      static_cast<std::size_t>(index::kPageSize))
    damaged("file shorter than its header says");
  const Page& p = *page;
  bool sound = p.level() == level && p.count() <= capacity(level);
  if (level == 0)
    sound = sound && p.type() == index::kLeaf && p.prev() < h_.page_count && p.next() < h_.page_count;
  else
    sound = sound && p.type() == index::kInner && p.count() >= 1;
  if (!sound) damaged("page " + std::to_string(number) + " malformed");
  return cache_.put(number, std::move(page));
}

Page& IndexFile::Impl::allocate(uint8_t type, uint32_t level) {
  uint32_t number;
  if (h_.free_head != 0) {
    number = h_.free_head;
    if (number >= h_.page_count) damaged("free list out of range");
    Page* p = cache_.find(number);
    if (!p) {
      auto page = std::make_unique<Page>();
      page->number = number;
      if (file_.pread(page->bytes, index::kPageSize, int64_t{number} * index::kPageSize) !=
          static_cast<std::size_t>(index::kPageSize))
        damaged("file shorter than its header says");
      p = &cache_.put(number, std::move(page));
    }
    if (p->type() != index::kFree) damaged("free list damaged");
    h_.free_head = p->next();
  } else {
    number = h_.page_count++;
  }
  Page* cached = cache_.find(number);
  Page& p = cached ? *cached : cache_.put(number, std::make_unique<Page>());
  std::fill(std::begin(p.bytes), std::end(p.bytes), 0);
  p.number = number;
  p.set_type(type);
  p.set_level(level);
  p.dirty = true;
  return p;
}

void IndexFile::Impl::release(Page& page) {
  std::fill(std::begin(page.bytes), std::end(page.bytes), 0);
  page.set_type(index::kFree);
  page.set_next(h_.free_head);
  page.dirty = true;
  h_.free_head = page.number;
}

void IndexFile::Impl::flush_dirty() {
  cache_.for_each([&](Page& p) {
    if (!p.dirty) return;
    file_.pwrite(p.bytes, index::kPageSize, int64_t{p.number} * index::kPageSize);
    p.dirty = false;
  });
}

void IndexFile::Impl::require_change(const char* what) const {
  if (!in_change_) throw std::logic_error(std::string("index ") + what + " outside begin_change/end_change");
}

uint64_t IndexFile::Impl::entry_count() {
  refresh();
  return h_.entry_count;
}

void IndexFile::Impl::begin_change(Sync sync) {
  if (read_only_) throw std::logic_error("index " + path_.string() + " opened read-only");
  if (in_change_) throw std::logic_error("index change already begun");
  refresh();
  h_.unfinished = true;
  ++h_.generation;
  write_header();
  if (sync == Sync::disk) file_.fsync();
  in_change_ = true;
  cached_generation_ = h_.generation;
}

void IndexFile::Impl::end_change(const DataSignature& sig, Sync sync) {
  require_change("end_change");
  in_change_ = false;
  try {
    flush_dirty();
    if (sync == Sync::disk) file_.fsync();
    h_.unfinished = false;
    h_.signature = sig;
    ++h_.generation;
    write_header();
    if (sync == Sync::disk) file_.fsync();
  } catch (...) {
    drop_cache();  // the file keeps its unfinished mark: the next operation reports it
    cached_generation_ = 0;
    throw;
  }
  cached_generation_ = h_.generation;
}

std::string_view IndexFile::Impl::key_at(const Page& p, int i) const {
  return {reinterpret_cast<const char*>(p.entry(i, entry_size(p.level()))), h_.key_width};
}
uint32_t IndexFile::Impl::recno_at(const Page& p, int i) const {
  return index::get<uint32_t>(p.entry(i, entry_size(p.level())) + h_.key_width);
}
uint32_t IndexFile::Impl::child_at(const Page& p, int i) const {
  return index::get<uint32_t>(p.entry(i, entry_size(p.level())) + h_.key_width + 4);
}

int IndexFile::Impl::compare_entry(const Page& p, int i, std::string_view key, uint32_t recno) const {
  int c = cmp_(key_at(p, i), key);
  if (c != 0) return c;
  uint32_t r = recno_at(p, i);
  return (r > recno) - (r < recno);
}

int IndexFile::Impl::search_leaf(const Page& p, std::string_view key, uint32_t recno, bool after) const {
  int lo = 0, hi = p.count();
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    int c = compare_entry(p, mid, key, recno);
    if (c < 0 || (after && c == 0))
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

int IndexFile::Impl::search_inner(const Page& p, std::string_view key, uint32_t recno) const {
  // Last child whose lower bound is <= the target (child 0 when there is none).
  int lo = 1, hi = p.count();
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    if (compare_entry(p, mid, key, recno) <= 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo - 1;
}

IndexFile::Impl::Spot IndexFile::Impl::descend(std::string_view key, uint32_t recno, bool after,
                                               std::vector<PathStep>* path) {
  uint32_t number = h_.root;
  for (uint32_t level = h_.height - 1;; --level) {
    Page& p = load(number, level);
    if (level == 0) return {&p, search_leaf(p, key, recno, after)};
    int i = search_inner(p, key, recno);
    if (path) path->push_back({number, i});
    number = child_at(p, i);
  }
}

IndexFile::Impl::Spot IndexFile::Impl::edge(bool leftmost) {
  uint32_t number = h_.root;
  for (uint32_t level = h_.height - 1;; --level) {
    Page& p = load(number, level);
    if (level == 0) return {&p, leftmost ? 0 : p.count()};
    number = child_at(p, leftmost ? 0 : p.count() - 1);
  }
}

IndexFile::Position IndexFile::Impl::position(const Page& leaf, int slot) {
  hint_ = {epoch_, leaf.number, slot};
  return {std::string(key_at(leaf, slot)), recno_at(leaf, slot)};
}

std::optional<IndexFile::Impl::Spot> IndexFile::Impl::hinted(const Position& at) {
  if (hint_.epoch != epoch_ || hint_.page == 0) return std::nullopt;
  Page& leaf = load(hint_.page, 0);
  if (hint_.slot >= leaf.count() || recno_at(leaf, hint_.slot) != at.recno || key_at(leaf, hint_.slot) != at.key)
    return std::nullopt;
  return Spot{&leaf, hint_.slot};
}

std::optional<IndexFile::Position> IndexFile::Impl::settle_forward(Spot s) {
  for (uint32_t steps = 0; s.slot >= s.leaf->count(); ++steps) {
    uint32_t next = s.leaf->next();
    if (next == 0) return std::nullopt;
    if (steps > h_.page_count) damaged("leaf links form a loop");
    s = {&load(next, 0), 0};
  }
  return position(*s.leaf, s.slot);
}

std::optional<IndexFile::Position> IndexFile::Impl::before(Spot s) {
  if (s.slot > 0) return position(*s.leaf, s.slot - 1);
  for (uint32_t steps = 0;; ++steps) {
    uint32_t prev = s.leaf->prev();
    if (prev == 0) return std::nullopt;
    if (steps > h_.page_count) damaged("leaf links form a loop");
    s.leaf = &load(prev, 0);
    if (s.leaf->count() > 0) return position(*s.leaf, s.leaf->count() - 1);
  }
}

std::optional<IndexFile::Position> IndexFile::Impl::first() {
  refresh();
  return settle_forward(edge(true));
}

std::optional<IndexFile::Position> IndexFile::Impl::last() {
  refresh();
  return before(edge(false));
}

std::optional<IndexFile::Position> IndexFile::Impl::lower_bound(std::string_view key) {
  refresh();
  return settle_forward(descend(key.substr(0, h_.key_width), 0, false, nullptr));
}

// A damaged tree can lead a search astray; a walk that would not move on is reported rather
// than looped over.
std::optional<IndexFile::Position> IndexFile::Impl::next(const Position& at) {
  refresh();
  auto hint = hinted(at);
  auto p = hint ? settle_forward({hint->leaf, hint->slot + 1}) : settle_forward(descend(at.key, at.recno, true, nullptr));
  if (p && compare_positions(*p, at) <= 0) damaged("entries out of order");
  return p;
}

std::optional<IndexFile::Position> IndexFile::Impl::prev(const Position& at) {
  refresh();
  auto hint = hinted(at);
  auto p = before(hint ? *hint : descend(at.key, at.recno, false, nullptr));
  if (p && compare_positions(*p, at) >= 0) damaged("entries out of order");
  return p;
}

int IndexFile::Impl::compare_positions(const Position& a, const Position& b) const {
  int c = cmp_(a.key, b.key);
  if (c != 0) return c;
  return (a.recno > b.recno) - (a.recno < b.recno);
}

void IndexFile::Impl::insert(std::string_view key, uint32_t recno) {
  require_change("insert");
  if (key.size() != h_.key_width) throw std::invalid_argument("index key of the wrong width");
  if (recno == 0) throw std::invalid_argument("record numbers start at 1");
  make_room();
  std::vector<PathStep> path;
  Spot s = descend(key, recno, false, &path);
  Page& leaf = *s.leaf;
  const int count = leaf.count();
  if (s.slot < count && compare_entry(leaf, s.slot, key, recno) == 0) return;

  const int es = entry_size(0);
  std::vector<uint8_t> entry(es);
  std::memcpy(entry.data(), key.data(), key.size());
  index::put<uint32_t>(entry.data() + h_.key_width, recno);
  ++h_.entry_count;
  leaf.dirty = true;
  if (count < capacity(0)) {
    std::memmove(leaf.entry(s.slot + 1, es), leaf.entry(s.slot, es), (count - s.slot) * es);
    std::memcpy(leaf.entry(s.slot, es), entry.data(), es);
    leaf.set_count(count + 1);
    return;
  }
  // Split: entries in order with the new one, the lower part stays. An entry past the end of
  // the last leaf (appending in key order) starts a new leaf, so such leaves stay full.
  std::vector<uint8_t> all((count + 1) * es);
  std::memcpy(all.data(), leaf.entry(0, es), s.slot * es);
  std::memcpy(all.data() + s.slot * es, entry.data(), es);
  std::memcpy(all.data() + (s.slot + 1) * es, leaf.entry(s.slot, es), (count - s.slot) * es);
  const int keep = (s.slot == count && leaf.next() == 0) ? count : (count + 1) / 2;
  Page& right = allocate(index::kLeaf, 0);
  std::memcpy(leaf.entry(0, es), all.data(), keep * es);
  std::memcpy(right.entry(0, es), all.data() + keep * es, (count + 1 - keep) * es);
  leaf.set_count(keep);
  right.set_count(count + 1 - keep);
  right.set_prev(leaf.number);
  right.set_next(leaf.next());
  if (leaf.next() != 0) {
    Page& after = load(leaf.next(), 0);
    after.set_prev(right.number);
    after.dirty = true;
  }
  leaf.set_next(right.number);
  insert_into_parent(path, right.entry(0, es), right.number);
}

void IndexFile::Impl::insert_into_parent(std::vector<PathStep>& path, const uint8_t* sep, uint32_t child) {
  const int w = static_cast<int>(h_.key_width);
  std::vector<uint8_t> entry(w + 8);
  std::memcpy(entry.data(), sep, w + 4);
  index::put<uint32_t>(entry.data() + w + 4, child);
  while (!path.empty()) {
    PathStep step = path.back();
    path.pop_back();
    const uint32_t level = h_.height - 1 - static_cast<uint32_t>(path.size());
    Page& p = load(step.page, level);
    const int es = entry_size(level), count = p.count(), pos = step.slot + 1;
    p.dirty = true;
    if (count < capacity(level)) {
      std::memmove(p.entry(pos + 1, es), p.entry(pos, es), (count - pos) * es);
      std::memcpy(p.entry(pos, es), entry.data(), es);
      p.set_count(count + 1);
      return;
    }
    std::vector<uint8_t> all((count + 1) * es);
    std::memcpy(all.data(), p.entry(0, es), pos * es);
    std::memcpy(all.data() + pos * es, entry.data(), es);
    std::memcpy(all.data() + (pos + 1) * es, p.entry(pos, es), (count - pos) * es);
    const int keep = pos == count ? count : (count + 1) / 2;
    Page& right = allocate(index::kInner, level);
    std::memcpy(p.entry(0, es), all.data(), keep * es);
    std::memcpy(right.entry(0, es), all.data() + keep * es, (count + 1 - keep) * es);
    p.set_count(keep);
    right.set_count(count + 1 - keep);
    // The right page's first bound goes up as the separator of the right page.
    std::memcpy(entry.data(), right.entry(0, es), w + 4);
    index::put<uint32_t>(entry.data() + w + 4, right.number);
  }
  // The root was split: a new root above the two halves.
  const uint32_t old_root = h_.root;
  Page& root = allocate(index::kInner, h_.height);
  const int es = entry_size(h_.height);
  index::put<uint32_t>(root.entry(0, es) + w + 4, old_root);
  std::memcpy(root.entry(1, es), entry.data(), es);
  root.set_count(2);
  h_.root = root.number;
  ++h_.height;
}

bool IndexFile::Impl::erase(std::string_view key, uint32_t recno) {
  require_change("erase");
  if (key.size() != h_.key_width) throw std::invalid_argument("index key of the wrong width");
  make_room();
  std::vector<PathStep> path;
  Spot s = descend(key, recno, false, &path);
  Page& leaf = *s.leaf;
  const int count = leaf.count(), es = entry_size(0);
  if (s.slot >= count || compare_entry(leaf, s.slot, key, recno) != 0) return false;
  std::memmove(leaf.entry(s.slot, es), leaf.entry(s.slot + 1, es), (count - s.slot - 1) * es);
  leaf.set_count(count - 1);
  leaf.dirty = true;
  --h_.entry_count;
  if (count - 1 == 0 && !path.empty()) {
    if (leaf.prev() != 0) {
      Page& p = load(leaf.prev(), 0);
      p.set_next(leaf.next());
      p.dirty = true;
    }
    if (leaf.next() != 0) {
      Page& n = load(leaf.next(), 0);
      n.set_prev(leaf.prev());
      n.dirty = true;
    }
    release(leaf);
    remove_from_parent(path);
  }
  return true;
}

void IndexFile::Impl::remove_from_parent(std::vector<PathStep>& path) {
  while (!path.empty()) {
    PathStep step = path.back();
    path.pop_back();
    const uint32_t level = h_.height - 1 - static_cast<uint32_t>(path.size());
    Page& p = load(step.page, level);
    const int es = entry_size(level), count = p.count();
    std::memmove(p.entry(step.slot, es), p.entry(step.slot + 1, es), (count - step.slot - 1) * es);
    p.set_count(count - 1);
    p.dirty = true;
    if (count - 1 > 0) break;
    if (path.empty()) {  // the root lost its last child: the tree is empty
      std::fill(std::begin(p.bytes), std::end(p.bytes), 0);
      p.set_type(index::kLeaf);
      h_.height = 1;
      return;
    }
    release(p);
  }
  // A root with a single child gives way to it.
  while (h_.height > 1) {
    Page& root = load(h_.root, h_.height - 1);
    if (root.count() != 1) break;
    const uint32_t child = child_at(root, 0);
    release(root);
    h_.root = child;
    --h_.height;
  }
}

bool IndexFile::Impl::verify_page(uint32_t number, uint32_t level, const std::string* lo, uint32_t lo_rec,
                                  const std::string* hi, uint32_t hi_rec, std::vector<uint32_t>& leaves,
                                  std::vector<char>& seen, uint64_t& count, std::string* problem) {
  auto fail = [&](const std::string& what) {
    if (problem) *problem = "page " + std::to_string(number) + ": " + what;
    return false;
  };
  if (number == 0 || number >= seen.size()) return fail("out of range");
  if (seen[number]) return fail("reached twice");
  seen[number] = 1;
  Page& p = load(number, level);
  const int n = p.count();
  if (n == 0 && number != h_.root) return fail("empty");
  // Entry 0 of an inner page is the parent's bound, not compared.
  for (int i = level ? 1 : 0; i < n; ++i) {
    if (i > (level ? 1 : 0) && compare_entry(p, i - 1, key_at(p, i), recno_at(p, i)) >= 0)
      return fail("entries out of order");
    if (lo && compare_entry(p, i, *lo, lo_rec) < 0) return fail("entry below its parent's bound");
    if (hi && compare_entry(p, i, *hi, hi_rec) >= 0) return fail("entry above its parent's bound");
  }
  if (level == 0) {
    for (int i = 0; i < n; ++i)
      if (recno_at(p, i) == 0) return fail("record number 0");
    leaves.push_back(number);
    count += n;
    return true;
  }
  for (int i = 0; i < n; ++i) {
    std::string child_lo, child_hi;
    const std::string* clo = lo;
    const std::string* chi = hi;
    uint32_t clo_rec = lo_rec, chi_rec = hi_rec;
    if (i > 0) {
      child_lo = std::string(key_at(p, i));
      clo = &child_lo;
      clo_rec = recno_at(p, i);
    }
    if (i + 1 < n) {
      child_hi = std::string(key_at(p, i + 1));
      chi = &child_hi;
      chi_rec = recno_at(p, i + 1);
    }
    uint32_t child = child_at(p, i);
    if (!verify_page(child, level - 1, clo, clo_rec, chi, chi_rec, leaves, seen, count, problem))
      return false;
  }
  return true;
}

bool IndexFile::Impl::verify(std::string* problem) {
  auto fail = [&](const std::string& what) {
    if (problem) *problem = "index " + path_.string() + ": " + what;
    return false;
  };
  try {
    refresh();
    std::vector<uint32_t> leaves;
    std::vector<char> seen(h_.page_count, 0);
    uint64_t count = 0;
    std::string page_problem;
    if (!verify_page(h_.root, h_.height - 1, nullptr, 0, nullptr, 0, leaves, seen, count, &page_problem))
      return fail(page_problem);
    for (std::size_t i = 0; i < leaves.size(); ++i) {
      Page& leaf = load(leaves[i], 0);
      if (leaf.prev() != (i ? leaves[i - 1] : 0) || leaf.next() != (i + 1 < leaves.size() ? leaves[i + 1] : 0))
        return fail("leaf links broken at page " + std::to_string(leaves[i]));
    }
    if (count != h_.entry_count)
      return fail("holds " + std::to_string(count) + " entries, header says " + std::to_string(h_.entry_count));
    for (uint32_t free = h_.free_head; free != 0;) {
      if (free >= h_.page_count || seen[free]) return fail("free list damaged");
      seen[free] = 1;
      Page buffer;
      const Page* cached = cache_.find(free);
      const Page* p = cached ? cached : &buffer;
      if (!cached &&
          file_.pread(buffer.bytes, index::kPageSize, int64_t{free} * index::kPageSize) !=
              static_cast<std::size_t>(index::kPageSize))
        return fail("file shorter than its header says");
      if (p->type() != index::kFree) return fail("free list damaged");
      free = p->next();
    }
    for (uint32_t i = 1; i < h_.page_count; ++i)
      if (!seen[i]) return fail("page " + std::to_string(i) + " lost");
    if (!in_change_ && file_.size() < int64_t{h_.page_count} * index::kPageSize)
      return fail("file shorter than its header says");
  } catch (const IndexDamaged& e) {
    if (problem) *problem = e.what();
    return false;
  }
  return true;
}

std::vector<IndexFile::Entry> IndexFile::Impl::entries() {
  refresh();
  std::vector<Entry> out;
  out.reserve(static_cast<std::size_t>(std::min<uint64_t>(h_.entry_count, 1u << 24)));
  Spot s = edge(true);
  for (uint32_t steps = 0;; ++steps) {
    for (int i = 0; i < s.leaf->count(); ++i) out.emplace_back(std::string(key_at(*s.leaf, i)), recno_at(*s.leaf, i));
    uint32_t next = s.leaf->next();
    if (next == 0) break;
    if (steps > h_.page_count) damaged("leaf links form a loop");
    s.leaf = &load(next, 0);
  }
  return out;
}

// ---- IndexFile -------------------------------------------------------------------------------

IndexFile::IndexFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
IndexFile::~IndexFile() = default;

std::unique_ptr<IndexFile> IndexFile::open(const std::filesystem::path& path, std::string_view expr_text,
                                           int key_width, Compare cmp, const DataSignature& expected,
                                           bool read_only, IndexState* state) {
  IndexState ignored;
  IndexState& st = state ? *state : ignored;
  os::File file;
  try {
    file = os::File::open(path.string(), read_only ? os::File::Mode::read : os::File::Mode::read_write);
  } catch (const os::Error& e) {
    if (e.code() != ENOENT) throw;
    st = IndexState::missing;
    return nullptr;
  }
  std::string bytes(index::kPageSize, '\0');
  bytes.resize(file.pread(bytes.data(), bytes.size(), 0));
  index::Header h;
  switch (index::decode(bytes, &h)) {
    case index::HeaderCheck::foreign: st = IndexState::foreign; return nullptr;
    case index::HeaderCheck::damaged: st = IndexState::damaged; return nullptr;
    case index::HeaderCheck::ok: break;
  }
  if (h.expr_text != expr_text || h.key_width != static_cast<uint32_t>(key_width)) {
    st = IndexState::other_expression;
  } else if (file.size() < int64_t{h.page_count} * index::kPageSize) {
    st = IndexState::damaged;
  } else if (h.unfinished) {
    st = IndexState::unfinished;
  } else if (!(h.signature == expected)) {
    st = IndexState::stale;
  } else {
    st = IndexState::ok;
    return std::unique_ptr<IndexFile>(
        new IndexFile(std::make_unique<Impl>(path, std::move(file), std::move(h), std::move(cmp), read_only)));
  }
  return nullptr;
}

const std::filesystem::path& IndexFile::path() const { return impl_->path(); }
int IndexFile::key_width() const { return impl_->key_width(); }
uint64_t IndexFile::entry_count() const { return impl_->entry_count(); }
void IndexFile::begin_change(Sync sync) { impl_->begin_change(sync); }
void IndexFile::end_change(const DataSignature& sig, Sync sync) { impl_->end_change(sig, sync); }
void IndexFile::sync() { impl_->sync(); }
void IndexFile::insert(std::string_view key, uint32_t recno) { impl_->insert(key, recno); }
bool IndexFile::erase(std::string_view key, uint32_t recno) { return impl_->erase(key, recno); }
std::optional<IndexFile::Position> IndexFile::first() { return impl_->first(); }
std::optional<IndexFile::Position> IndexFile::last() { return impl_->last(); }
std::optional<IndexFile::Position> IndexFile::lower_bound(std::string_view key) { return impl_->lower_bound(key); }
std::optional<IndexFile::Position> IndexFile::next(const Position& at) { return impl_->next(at); }
std::optional<IndexFile::Position> IndexFile::prev(const Position& at) { return impl_->prev(at); }
bool IndexFile::verify(std::string* problem) { return impl_->verify(problem); }
std::vector<IndexFile::Entry> IndexFile::entries() { return impl_->entries(); }

}  // namespace kx::dbf
