// What the fuzz targets share: a scratch folder, the fixture tables the memo and index inputs
// are read against, and a walk that reads everything a table offers.
#pragma once

#include <string>
#include <string_view>

#include "dbf/table.h"

namespace kx::fuzz {

// A folder of this process under the temporary folder, emptied on every call to file().
class Scratch {
 public:
  Scratch();
  ~Scratch();
  // The path of `name` in the folder, after writing `bytes` into it.
  std::string write(const std::string& name, std::string_view bytes) const;
  std::string path(const std::string& name) const { return folder_ + "/" + name; }
  void clear() const;

 private:
  std::string folder_;
};

// The memo fixture: MEMO.DBF with memo texts written by the engine (its FPT file is the model
// of the memo seeds) and records whose memo fields point at blocks inside the memo header and
// far beyond any small file; the memo file itself comes from the input. `fpt` false turns the
// table into a dBASE III one that reads MEMO.DBT.
inline constexpr const char* kMemoTable = "MEMO.DBF";
struct MemoFixture {
  std::string dbf;
  std::string fpt;  // the memo file the engine wrote for it
};
const MemoFixture& memo_fixture();
void write_memo_table(const Scratch& s, bool fpt);

// The index fixture: INDEXED.DBF (fixed contents and modification time, so an index file
// built over it once stays valid for it) and the key expressions of its three index files.
inline constexpr const char* kIndexedTable = "INDEXED.DBF";
inline constexpr const char* kIndexExprs[3] = {"UPPER(NOME)+STR(VALOR,12,2)", "DTOS(DATA)",
                                               "VALOR"};
void write_indexed_table(const Scratch& s);

// Reads every visible record in every order (typed fields and memos), seeks a few keys and
// runs check(). Returns the problems check() found.
std::vector<std::string> walk(dbf::Table& table);

}  // namespace kx::fuzz
