#include "dbf/index_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <random>
#include <set>

#include "base/cp850.h"
#include "base/text.h"
#include "dbf/expr.h"

namespace kx::dbf {
namespace {

namespace fs = std::filesystem;
using Entry = IndexFile::Entry;

// Index files on a character key of `width` bytes compared as the table engine compares them.
class IndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int n = 0;
    dir = fs::temp_directory_path() / ("kx_index_test_" + std::to_string(getpid()) + "_" + std::to_string(n++));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  void use_width(int w) {
    schema = Schema({*parse_field_spec("K:C:" + std::to_string(w))});
    expr = std::make_unique<KeyExpr>(KeyExpr::parse("K", schema));
  }
  int width() const { return expr->width(); }
  IndexFile::Compare cmp() const {
    const KeyExpr* e = expr.get();
    return [e](std::string_view a, std::string_view b) { return e->compare(a, b); };
  }
  std::string key(std::string_view utf8) const { return text::pad_right(cp850::from_utf8(utf8), width()); }

  std::unique_ptr<IndexFile> build(std::vector<Entry> entries, DataSignature sig = {}) {
    return IndexFile::build(path(), "K", width(), cmp(), std::move(entries), sig);
  }
  std::unique_ptr<IndexFile> open(IndexState* state, DataSignature sig = {}, bool read_only = false,
                                  std::string_view text = "K") {
    return IndexFile::open(path(), text, width(), cmp(), sig, read_only, state);
  }
  std::unique_ptr<IndexFile> open_ok() {
    IndexState st;
    auto f = open(&st);
    EXPECT_EQ(st, IndexState::ok);
    return f;
  }

  // Every entry, walking forward with next() and backward with prev().
  std::vector<Entry> walk_forward(IndexFile& f) {
    std::vector<Entry> out;
    for (auto p = f.first(); p; p = f.next(*p)) out.emplace_back(p->key, p->recno);
    return out;
  }
  std::vector<Entry> walk_backward(IndexFile& f) {
    std::vector<Entry> out;
    for (auto p = f.last(); p; p = f.prev(*p)) out.emplace_back(p->key, p->recno);
    std::reverse(out.begin(), out.end());
    return out;
  }

  void write_bytes(int64_t offset, std::string_view bytes) {
    std::fstream io(path(), std::ios::in | std::ios::out | std::ios::binary);
    io.seekp(offset);
    io.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  fs::path dir;
  fs::path path() const { return dir / "IMP0915.CDX"; }
  Schema schema;
  std::unique_ptr<KeyExpr> expr;
};

// The model: entries ordered as the index orders them.
struct ModelLess {
  const KeyExpr* e;
  bool operator()(const Entry& a, const Entry& b) const {
    int c = e->compare(a.first, b.first);
    return c < 0 || (c == 0 && a.second < b.second);
  }
};

TEST_F(IndexTest, RandomInsertsAndErasesMatchAModelAcrossChangesAndReopens) {
  use_width(200);  // wide keys: few entries per page, so the tree grows four levels deep
  std::set<Entry, ModelLess> model(ModelLess{expr.get()});
  auto f = build({});
  std::mt19937 rng(12345);
  const std::vector<std::string> words = {"ANA", "ÂNGELA", "ANA MARIA", "BETO", "JOSÉ", "JOSE", "ÇAPA", "CAPA", "ZÉ"};
  auto random_key = [&] { return key(words[rng() % words.size()] + std::to_string(rng() % 40)); };

  auto check = [&](const char* when) {
    std::vector<Entry> expected(model.begin(), model.end());
    ASSERT_EQ(f->entries(), expected) << when;
    ASSERT_EQ(walk_forward(*f), expected) << when;
    ASSERT_EQ(walk_backward(*f), expected) << when;
    ASSERT_EQ(f->entry_count(), model.size()) << when;
    std::string problem;
    ASSERT_TRUE(f->verify(&problem)) << when << ": " << problem;
  };

  // Grow, then shrink to almost nothing (pages are freed and the root collapses), then regrow.
  for (int phase = 0; phase < 3; ++phase) {
    for (int batch = 0; batch < 6; ++batch) {
      f->begin_change();
      for (int op = 0; op < 700; ++op) {
        bool grow = phase != 1 ? rng() % 4 != 0 : rng() % 8 == 0;
        if (grow || model.empty()) {
          Entry e{random_key(), static_cast<uint32_t>(1 + rng() % 5000)};
          f->insert(e.first, e.second);
          model.insert(e);
        } else {
          auto it = model.begin();
          std::advance(it, rng() % model.size());
          ASSERT_TRUE(f->erase(it->first, it->second));
          model.erase(it);
          ASSERT_FALSE(f->erase(random_key(), 9999)) << "an absent entry";
        }
      }
      f->end_change({static_cast<uint32_t>(model.size()), 0, 0});
      check("after a change");
    }
    f.reset();
    IndexState st;
    f = open(&st, {static_cast<uint32_t>(model.size()), 0, 0});
    ASSERT_EQ(st, IndexState::ok);
    check("after reopening");
  }

  f->begin_change();
  for (const Entry& e : model) ASSERT_TRUE(f->erase(e.first, e.second));
  model.clear();
  f->end_change({});
  check("emptied");
  EXPECT_FALSE(f->first());
  EXPECT_FALSE(f->lower_bound(key("A")));
}

TEST_F(IndexTest, LowerBoundSeeksExactPrefixAndSoftWithDuplicatesInRecordOrder) {
  use_width(20);
  // Enough entries to span many leaves, around a few named ones.
  std::vector<Entry> entries = {{key("JOSÉ SILVA"), 40}, {key("JOSE"), 7},    {key("ANA"), 9},
                                {key("ANA"), 3},         {key("ÂNGELA"), 5},  {key("BETO"), 2}};
  for (uint32_t i = 0; i < 3000; ++i) entries.push_back({key("M" + std::to_string(i)), 100 + i});
  auto f = build(entries);

  struct Case {
    std::string seek;
    std::optional<Entry> expected;
  } cases[] = {
      {key("ANA"), Entry{key("ANA"), 3}},             // exact: the lowest record number first
      {cp850::from_utf8("AN"), Entry{key("ANA"), 3}},  // prefix
      // A prefix matches by letters, accents aside: "ÂN" matches ANA and ÂNGELA.
      {cp850::from_utf8("ÂN"), Entry{key("ANA"), 3}},
      {cp850::from_utf8("ÂNG"), Entry{key("ÂNGELA"), 5}},
      {cp850::from_utf8("JOSÉ"), Entry{key("JOSE"), 7}},
      {cp850::from_utf8("JOSÉ S"), Entry{key("JOSÉ SILVA"), 40}},
      {cp850::from_utf8("C"), Entry{key("JOSE"), 7}},             // soft: the next key
      {cp850::from_utf8("M2999"), Entry{key("M2999"), 3099}},
      {"", Entry{key("ANA"), 3}},
      {cp850::from_utf8("Z"), std::nullopt},
  };
  for (const auto& c : cases) {
    auto p = f->lower_bound(c.seek);
    ASSERT_EQ(p.has_value(), c.expected.has_value()) << c.seek;
    if (!p) continue;
    EXPECT_EQ(Entry(p->key, p->recno), *c.expected) << c.seek;
  }
  auto ana = f->lower_bound(key("ANA"));
  auto second = f->next(*ana);
  ASSERT_TRUE(second);
  EXPECT_EQ(Entry(second->key, second->recno), Entry(key("ANA"), 9));
  EXPECT_EQ(f->prev(*second)->recno, 3u);
  EXPECT_FALSE(f->prev(*ana)) << "nothing before the first entry";
  EXPECT_EQ(f->entry_count(), entries.size());
  EXPECT_EQ(walk_forward(*f), walk_backward(*f));
}

TEST_F(IndexTest, BuildOfALargeUnsortedSetEqualsTheSortedModel) {
  use_width(20);
  std::mt19937 rng(99);
  std::vector<Entry> entries;
  for (uint32_t i = 1; i <= 200000; ++i)
    entries.push_back({key(std::to_string(rng() % 100000) + (rng() % 2 ? "Ç" : "C")), i});
  entries.push_back(entries[10]);  // an entry given twice is kept once
  std::vector<Entry> model(entries.begin(), entries.end() - 1);
  std::sort(model.begin(), model.end(), ModelLess{expr.get()});

  auto f = build(entries, {200000, 1, 2});
  EXPECT_EQ(f->entries(), model);
  EXPECT_EQ(f->entry_count(), model.size());
  std::string problem;
  EXPECT_TRUE(f->verify(&problem)) << problem;
  for (int i = 0; i < 100; ++i) {
    const Entry& e = model[rng() % model.size()];
    auto p = f->lower_bound(e.first);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->key, e.first);
    EXPECT_EQ(p->recno, std::find_if(model.begin(), model.end(), [&](auto& m) { return m.first == e.first; })->second);
  }
  f.reset();
  IndexState st;
  EXPECT_TRUE(open(&st, {200000, 1, 2}));
  EXPECT_EQ(st, IndexState::ok);
}

TEST_F(IndexTest, OpenTellsWhyAFileCannotBeUsed) {
  use_width(10);
  IndexState st;
  EXPECT_FALSE(open(&st));
  EXPECT_EQ(st, IndexState::missing);

  const DataSignature sig{3, 1000, 123456789};
  build({{key("A"), 1}, {key("B"), 2}, {key("C"), 3}}, sig);
  EXPECT_TRUE(open(&st, sig));
  EXPECT_EQ(st, IndexState::ok);
  for (DataSignature other : {DataSignature{4, 1000, 123456789}, DataSignature{3, 1001, 123456789},
                              DataSignature{3, 1000, 123456780}}) {
    EXPECT_FALSE(open(&st, other));
    EXPECT_EQ(st, IndexState::stale);
  }
  EXPECT_FALSE(open(&st, sig, false, "UPPER(K)"));
  EXPECT_EQ(st, IndexState::other_expression);
  EXPECT_FALSE(IndexFile::open(path(), "K", 11, cmp(), sig, false, &st));
  EXPECT_EQ(st, IndexState::other_expression);

  // A change begun and never ended (the process died): unfinished, for every open.
  auto writer = open(&st, sig);
  auto reader = open(&st, sig, true);
  ASSERT_TRUE(writer && reader);
  writer->begin_change();
  writer->insert(key("D"), 4);
  writer.reset();
  EXPECT_FALSE(open(&st, sig));
  EXPECT_EQ(st, IndexState::unfinished);
  EXPECT_THROW(reader->lower_bound(key("A")), IndexDamaged);
  EXPECT_THROW(reader->first(), IndexDamaged);
  std::string problem;
  EXPECT_FALSE(reader->verify(&problem));

  // Rebuilt in place: the open that saw the damage sees the new contents.
  build({{key("X"), 9}}, sig);
  EXPECT_EQ(reader->entries(), (std::vector<Entry>{{key("X"), 9}}));
  EXPECT_TRUE(reader->verify(&problem)) << problem;
}

TEST_F(IndexTest, ChangesByAnotherOpenAreSeenByReadersThatCachedPages) {
  use_width(10);
  std::vector<Entry> entries;
  for (uint32_t i = 0; i < 2000; ++i) entries.push_back({key("K" + std::to_string(i)), i + 1});
  build(entries);
  auto writer = open_ok();
  auto reader = open_ok();
  const auto held = reader->lower_bound(key("K1000"));  // pages now cached
  ASSERT_EQ(held->recno, 1001u);

  writer->begin_change();
  ASSERT_TRUE(writer->erase(key("K1000"), 1001));
  writer->insert(key("K1000"), 5000);
  writer->insert(key("A"), 9000);
  writer->end_change({});

  // A position held across the change still leads to its neighbours, though its entry is gone.
  EXPECT_EQ(reader->next(*held)->recno, 5000u);
  EXPECT_EQ(reader->prev(*held)->key, key("K100"));
  EXPECT_EQ(reader->lower_bound(key("K1000"))->recno, 5000u);
  EXPECT_EQ(reader->first()->recno, 9000u);
  EXPECT_EQ(reader->entry_count(), 2001u);
  std::string problem;
  EXPECT_TRUE(reader->verify(&problem)) << problem;
}

TEST_F(IndexTest, MisuseIsRefused) {
  use_width(10);
  auto f = build({});
  EXPECT_THROW(f->insert(key("A"), 1), std::logic_error);
  EXPECT_THROW(f->erase(key("A"), 1), std::logic_error);
  f->begin_change();
  EXPECT_THROW(f->insert("short", 1), std::invalid_argument);
  EXPECT_THROW(f->insert(key("A"), 0), std::invalid_argument);
  EXPECT_THROW(f->begin_change(), std::logic_error);
  f->insert(key("A"), 1);
  f->insert(key("A"), 1);  // already there: kept once
  f->end_change({});
  EXPECT_EQ(f->entry_count(), 1u);
  EXPECT_THROW(build({{"short", 1}}), std::invalid_argument);
  EXPECT_THROW(IndexFile::build(path(), "K", 0, cmp(), std::vector<Entry>{}, {}), std::invalid_argument);
  // Flat arrays that do not agree, or a record number 0.
  for (const IndexFile::Keys& flat : {IndexFile::Keys{std::string(15, 'A'), {1, 2}},
                                      IndexFile::Keys{std::string(20, 'A'), {1, 0}}})
    EXPECT_THROW(IndexFile::build(path(), "K", width(), cmp(), flat, {}), std::invalid_argument);

  IndexState st;
  auto ro = open(&st, {}, true);
  ASSERT_TRUE(ro);
  EXPECT_THROW(ro->begin_change(), std::logic_error);
}

TEST_F(IndexTest, ForeignTruncatedAndDamagedFilesAreReportedNeverTrusted) {
  use_width(200);
  IndexState st;
  {
    std::ofstream(path(), std::ios::binary) << std::string(5000, '\x07');  // another format
  }
  EXPECT_FALSE(open(&st));
  EXPECT_EQ(st, IndexState::foreign);
  {
    std::ofstream(path(), std::ios::binary | std::ios::trunc);  // empty
  }
  EXPECT_FALSE(open(&st));
  EXPECT_EQ(st, IndexState::foreign);

  std::vector<Entry> entries;
  for (uint32_t i = 0; i < 600; ++i) entries.push_back({key("N" + std::to_string(i)), i + 1});
  fs::remove(path());
  build(entries);
  const auto size = fs::file_size(path());

  write_bytes(33, "x");  // the entry count (600) in the header: the checksum no longer matches
  EXPECT_FALSE(open(&st));
  EXPECT_EQ(st, IndexState::damaged);

  build(entries);
  fs::resize_file(path(), size / 2);
  EXPECT_FALSE(open(&st));
  EXPECT_EQ(st, IndexState::damaged);

  // Structural damage is found by the operations (IndexDamaged) or by verify().
  auto u32_at = [&](int64_t offset) {
    std::ifstream in(path(), std::ios::binary);
    in.seekg(offset);
    uint32_t v = 0;
    in.read(reinterpret_cast<char*>(&v), 4);
    return v;
  };
  auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
  auto exercise = [&](IndexFile& g) {
    try {
      g.entries();
      walk_forward(g);
      walk_backward(g);
      for (const Entry& e : entries) g.lower_bound(e.first);
      g.begin_change();
      g.insert(key("N30x"), 7);
      g.erase(key("N300"), 301);
      g.end_change({});
    } catch (const IndexDamaged&) {
      return true;
    }
    std::string problem;
    return !g.verify(&problem);
  };
  const int w = width();
  struct Damage {
    const char* what;
    std::function<void()> apply;
  } damages[] = {
      {"page type", [&] { write_bytes(4096, "\x09"); }},
      {"leaf count", [&] { write_bytes(4096 + 2, u32(60000).substr(0, 2)); }},
      {"leaf linked to itself", [&] { write_bytes(4096 + 8, u32(1)); }},
      {"leaf link out of range", [&] { write_bytes(2 * 4096 + 4, u32(1u << 30)); }},
      {"child out of range", [&] { write_bytes(int64_t{u32_at(40)} * 4096 + 16 + (w + 8) + w + 4, u32(99999)); }},
      {"child is its own parent", [&] { write_bytes(int64_t{u32_at(40)} * 4096 + 16 + (w + 8) + w + 4, u32(u32_at(40))); }},
      {"keys out of order", [&] { write_bytes(4096 + 16, "ZZZZ"); }},
      {"record number changed", [&] { write_bytes(4096 + 16 + w, u32(0)); }},
      {"height", [&] { write_bytes(52, u32(1)); }},
  };
  for (const auto& d : damages) {
    build(entries);
    d.apply();
    auto g = open(&st);
    if (!g) {
      EXPECT_EQ(st, IndexState::damaged) << d.what;  // the header's checksum caught it
      continue;
    }
    EXPECT_TRUE(exercise(*g)) << d.what;
  }

  // Random damage anywhere in the pages: every operation works or throws IndexDamaged; nothing
  // crashes, hangs or reads out of bounds (the sanitizer build checks the last).
  std::mt19937 rng(5);
  for (int round = 0; round < 60; ++round) {
    build(entries);
    for (int k = 0; k < 3; ++k) {
      const int64_t offset = 4096 + rng() % (size - 4096);
      write_bytes(offset, std::string(1 + rng() % 8, static_cast<char>(rng())));
    }
    auto g = open_ok();
    ASSERT_TRUE(g);
    exercise(*g);
  }
}

}  // namespace
}  // namespace kx::dbf
