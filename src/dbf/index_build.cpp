// IndexFile::build: sorts the entries and bulk-loads full leaves, then the inner levels, into one
// image of the file that is written in a single pass.
#include <algorithm>
#include <random>

#include "dbf/index_file.h"
#include "dbf/index_impl.h"
#include "os/replace.h"

namespace kx::dbf {
namespace {

using index::kPageSize;
using index::Page;

struct Child {
  uint32_t page;
  const uint8_t* low;  // its smallest key + record number, inside the image
};

uint8_t* page_at(std::vector<uint8_t>& image, uint32_t number) {
  return image.data() + std::size_t{number} * kPageSize;
}

void write_page_header(uint8_t* p, uint8_t type, uint16_t count, uint32_t prev, uint32_t next, uint32_t level) {
  p[0] = type;
  index::put(p + 2, count);
  index::put(p + 4, prev);
  index::put(p + 8, next);
  index::put(p + 12, level);
}

uint64_t fresh_generation() {
  std::random_device rd;
  return (uint64_t{rd()} << 32) ^ rd();
}

}  // namespace

std::unique_ptr<IndexFile> IndexFile::build(const std::filesystem::path& path, std::string_view expr_text,
                                            int key_width, Compare cmp, std::vector<Entry> entries,
                                            const DataSignature& sig) {
  if (key_width < 1 || key_width > kMaxKeyWidth) throw std::invalid_argument("index key width out of range");
  Keys flat;
  flat.keys.reserve(entries.size() * static_cast<std::size_t>(key_width));
  flat.recnos.reserve(entries.size());
  for (const Entry& e : entries) {
    if (e.first.size() != static_cast<std::size_t>(key_width))
      throw std::invalid_argument("index key of the wrong width");
    flat.keys += e.first;
    flat.recnos.push_back(e.second);
  }
  entries = {};
  return build(path, expr_text, key_width, std::move(cmp), flat, sig);
}

std::unique_ptr<IndexFile> IndexFile::build(const std::filesystem::path& path, std::string_view expr_text,
                                            int key_width, Compare cmp, const Keys& entries,
                                            const DataSignature& sig) {
  if (key_width < 1 || key_width > kMaxKeyWidth) throw std::invalid_argument("index key width out of range");
  if (expr_text.size() > static_cast<std::size_t>(index::kMaxExprLength))
    throw std::invalid_argument("index key expression too long");
  const auto width = static_cast<std::size_t>(key_width);
  if (entries.keys.size() != entries.recnos.size() * width)
    throw std::invalid_argument("index key of the wrong width");
  for (uint32_t r : entries.recnos)
    if (r == 0) throw std::invalid_argument("record numbers start at 1");

  // Order of the entries, without copying keys; exact duplicates are kept once.
  struct Ref {
    const char* key;
    uint32_t recno;
  };
  auto less = [&](const Ref& a, const Ref& b) {
    int c = cmp({a.key, width}, {b.key, width});
    return c < 0 || (c == 0 && a.recno < b.recno);
  };
  std::vector<Ref> order;
  order.reserve(entries.recnos.size());
  for (std::size_t i = 0; i < entries.recnos.size(); ++i)
    order.push_back({entries.keys.data() + i * width, entries.recnos[i]});
  if (!std::is_sorted(order.begin(), order.end(), less)) std::sort(order.begin(), order.end(), less);
  order.erase(std::unique(order.begin(), order.end(),
                          [&](const Ref& a, const Ref& b) { return !less(a, b) && !less(b, a); }),
              order.end());

  const int w = key_width;
  const int leaf_es = w + 4, inner_es = w + 8;
  const std::size_t leaf_cap = (kPageSize - index::kPageHeader) / leaf_es;
  const std::size_t inner_cap = (kPageSize - index::kPageHeader) / inner_es;

  // Page numbers: header, leaves, then each inner level up to the root.
  const std::size_t leaves = std::max<std::size_t>(1, (order.size() + leaf_cap - 1) / leaf_cap);
  std::size_t total = 1 + leaves, height = 1;
  for (std::size_t n = leaves; n > 1; n = (n + inner_cap - 1) / inner_cap, ++height)
    total += (n + inner_cap - 1) / inner_cap;
  if (total >= UINT32_MAX) throw std::invalid_argument("index too large");
  std::vector<uint8_t> image(total * kPageSize, 0);

  std::vector<Child> level_pages;
  level_pages.reserve(leaves);
  for (std::size_t i = 0; i < leaves; ++i) {
    const auto number = static_cast<uint32_t>(1 + i);
    uint8_t* p = page_at(image, number);
    const std::size_t from = i * leaf_cap, to = std::min(order.size(), from + leaf_cap);
    write_page_header(p, index::kLeaf, static_cast<uint16_t>(to - from), i ? number - 1 : 0,
                      i + 1 < leaves ? number + 1 : 0, 0);
    for (std::size_t k = from; k < to; ++k) {
      uint8_t* e = p + index::kPageHeader + (k - from) * leaf_es;
      std::memcpy(e, order[k].key, w);
      index::put<uint32_t>(e + w, order[k].recno);
    }
    level_pages.push_back({number, p + index::kPageHeader});
  }

  auto next_page = static_cast<uint32_t>(1 + leaves);
  for (uint32_t level = 1; level_pages.size() > 1; ++level) {
    std::vector<Child> above;
    for (std::size_t from = 0; from < level_pages.size(); from += inner_cap) {
      const std::size_t to = std::min(level_pages.size(), from + inner_cap);
      uint8_t* p = page_at(image, next_page);
      write_page_header(p, index::kInner, static_cast<uint16_t>(to - from), 0, 0, level);
      for (std::size_t k = from; k < to; ++k) {
        uint8_t* e = p + index::kPageHeader + (k - from) * inner_es;
        std::memcpy(e, level_pages[k].low, w + 4);
        index::put<uint32_t>(e + w + 4, level_pages[k].page);
      }
      above.push_back({next_page++, p + index::kPageHeader});
    }
    level_pages = std::move(above);
  }

  index::Header h;
  h.key_width = static_cast<uint32_t>(w);
  h.generation = fresh_generation();
  h.entry_count = order.size();
  h.root = level_pages.front().page;
  h.page_count = static_cast<uint32_t>(total);
  h.height = static_cast<uint32_t>(height);
  h.signature = sig;
  h.expr_text = std::string(expr_text);

  os::File file;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    std::string header = h.encode();
    std::memcpy(image.data(), header.data(), header.size());
    os::AtomicReplace out(path.string());
    out.write({reinterpret_cast<const char*>(image.data()), image.size()});
    out.commit();
    file = os::File::open(path.string(), os::File::Mode::read_write);
  } else {
    // In place, so that other opens of the file see the new index; marked unfinished until the
    // last page is written.
    file = os::File::open(path.string(), os::File::Mode::read_write);
    index::Header marked = h;
    marked.unfinished = true;
    std::string header = marked.encode();
    file.pwrite(header.data(), header.size(), 0);
    file.fsync();
    file.pwrite(image.data() + kPageSize, image.size() - kPageSize, kPageSize);
    file.truncate(static_cast<int64_t>(image.size()));
    file.fsync();
    ++h.generation;
    header = h.encode();
    file.pwrite(header.data(), header.size(), 0);
  }
  return std::unique_ptr<IndexFile>(
      new IndexFile(std::make_unique<Impl>(path, std::move(file), std::move(h), std::move(cmp), false)));
}

}  // namespace kx::dbf
