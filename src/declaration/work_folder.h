// The twenty declaration tables of a work folder, open for a batch command, and the rows of one
// declaration in them, found by the CPF index (never by reading the whole table).
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/clock.h"
#include "dbf/table.h"
#include "declaration/declaration_rows.h"
#include "store/layout.h"

namespace kx::declaration {

// The folder is missing or holds no registry table (CP850 message for the operator).
class FolderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Seconds an open waits for a table that another terminal holds exclusively, and a record lock.
inline constexpr int kTableWaitSeconds = 10;
inline constexpr int kRecordWaitSeconds = 5;

// Declaration table n (1..20) of `folder`, opened as `mode` with its index files and order 1
// active, waiting up to kTableWaitSeconds while another terminal holds it exclusively. Throws
// dbf::TableError (not_found when the folder has no such table).
dbf::Table open_declaration_table(const std::string& folder, int n, dbf::OpenMode mode,
                                  Clock& clock);

class WorkFolder {
 public:
  enum class Use {
    read,   // every table read-only: nothing is ever written
    write,  // the summary (1) and the registry (9) shared, for record-locked writes
  };
  // Opens every declaration table present in `folder` with its index files. Throws FolderError
  // when the folder or its registry is missing, dbf::TableError when a table stays in use or is
  // damaged.
  WorkFolder(const std::string& folder, Use use, Clock& clock);

  const std::string& folder() const { return folder_; }
  Use use() const { return use_; }
  Clock& clock() const { return clock_; }
  // Table n (1..20), or nullptr when the folder has none.
  dbf::Table* table(int n);
  // The CPFs of the registry, in CPF order.
  std::vector<std::string> cpfs();
  // The registry row of `cpf` is current in table(9); false when there is none.
  bool seek_registry(const std::string& cpf);

 private:
  std::string folder_;
  Use use_;
  Clock& clock_;
  std::array<std::optional<dbf::Table>, store::kDeclarationTables + 1> tables_;
};

// The rows of one CPF in a WorkFolder. Stores lock the rows they change (kRecordWaitSeconds)
// and refuse a declaration that a terminal has open (NUSUAT not blank).
class FolderRows : public DeclarationRows {
 public:
  FolderRows(WorkFolder& folder, std::string cpf);
  ~FolderRows() override;

  const std::string& cpf() const { return cpf_; }
  // Locks the registry row until the next store() or release(), so that no terminal opens the
  // declaration meanwhile. Returns the terminal that has it open (NUSUAT), "" when none.
  // Throws StoreError missing_row or not_locked.
  std::string hold_registry();
  // Releases the locks this object holds.
  void release();

  const dbf::Schema* schema(int table) override;
  void visit(int table, const std::function<void(const dbf::RecordView&)>& visit) override;
  bool store(const std::vector<RowUpdate>& updates) override;

 private:
  uint32_t lock_row(int table);

  WorkFolder& folder_;
  std::string cpf_;
  std::vector<std::pair<int, uint32_t>> locked_;  // table, record
};

}  // namespace kx::declaration
