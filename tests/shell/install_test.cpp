// Installing a program folder and importing an office's reference list.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "../os/temp_folder.h"
#include "dbf/table.h"
#include "os/path.h"
#include "shell/install.h"
#include "store/catalogue.h"
#include "store/layout.h"
#include "store/layout_defaults.h"
#include "store/reftab.h"
#include "store/reftab_csv.h"

namespace kx::shell {
namespace {

namespace fs = std::filesystem;
using os::testing::TempFolder;

const std::string kData = KX_SOURCE_DIR "/data";

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = ::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) ::setenv(name_, old_->c_str(), 1);
    else ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

std::string file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every file of a folder with its bytes and modification time.
using Snapshot = std::map<std::string, std::pair<std::string, fs::file_time_type>>;
Snapshot snapshot(const std::string& folder) {
  Snapshot s;
  for (const auto& e : fs::directory_iterator(folder))
    s[e.path().filename().string()] = {file_bytes(e.path().string()),
                                       fs::last_write_time(e.path())};
  return s;
}

// The tables an installed program folder holds: the system tables kept for every terminal, the
// reference tables with a source, the twenty declaration tables.
std::vector<store::TableEntry> installed_tables() {
  std::vector<store::TableEntry> tables;
  for (int n = 1; n <= store::kLastTable; ++n) {
    const auto e = store::table_entry(n, "00");
    if (!e || e->kind == store::TableKind::working_copy) continue;
    if (e->kind == store::TableKind::reference && e->layout().has_memo()) continue;
    if (e->name != store::table_entry(n, "01")->name) continue;  // per terminal
    tables.push_back(*e);
  }
  return tables;
}

class InstallTest : public ::testing::Test {
 protected:
  // One folder installed from the delivered sources for the whole suite; tests that change an
  // installed folder work on a copy of it.
  static void SetUpTestSuite() {
    installed_ = new TempFolder;
    VirtualClock clock{DateTime{*Date::from_ymd(2015, 3, 10), 9, 0, 0}};
    first_report_ = new InstallReport(install_program_folder(installed_->path(), kData, clock));
  }
  static void TearDownTestSuite() {
    delete first_report_;
    delete installed_;
  }
  void copy_installed() {
    fs::create_directories(folder);
    fs::copy(installed_->path(), folder, fs::copy_options::recursive);
  }

  static inline TempFolder* installed_ = nullptr;
  static inline InstallReport* first_report_ = nullptr;
  TempFolder tmp;
  VirtualClock clock{DateTime{*Date::from_ymd(2015, 3, 10), 9, 0, 0}};
  const std::string folder = tmp / "escritorio/Kaprix";
};

TEST_F(InstallTest, AnEmptyFolderGetsEveryTableWithConsistentIndexFiles) {
  const InstallReport& report = *first_report_;
  const std::string installed = installed_->path();
  EXPECT_EQ(report.kept, std::vector<std::string>{});
  EXPECT_EQ(report.no_source, std::vector<std::string>{});
  const std::vector<store::TableEntry> tables = installed_tables();
  EXPECT_EQ(report.created.size(), tables.size());
  for (const store::TableEntry& e : tables) {
    SCOPED_TRACE(e.data_file_name());
    std::vector<dbf::IndexSpec> specs;
    for (const store::IndexFile& index : e.indexes) {
      EXPECT_TRUE(fs::exists(os::join_path(installed, index.file_name()))) << index.file_name();
      specs.push_back({index.key, os::join_path(installed, index.file_name())});
    }
    dbf::Table t =
        dbf::Table::open(os::join_path(installed, e.data_file_name()), {dbf::OpenMode::shared}, clock);
    t.attach_indexes(specs);
    EXPECT_EQ(t.check(), std::vector<std::string>{});
    EXPECT_EQ(t.schema().record_length(), e.layout().record_length());
    if (e.kind == store::TableKind::reference)
      EXPECT_EQ(t.record_count(),
                store::read_reference_rows(store::reference_source(kData, e.number), e.layout())
                    .size());
    else if (e.single_record) {
      ASSERT_EQ(t.record_count(), 1u);
      t.go_top();
      EXPECT_EQ(t.record().bytes(), store::shared_settings_initial_record());
    } else {
      EXPECT_EQ(t.record_count(), 0u);
    }
  }
  EXPECT_FALSE(fs::exists(os::join_path(installed, "DIRET00.DBF")));  // made per terminal at start
}

TEST_F(InstallTest, RunningAgainCreatesNothingAndChangesNothing) {
  copy_installed();
  const Snapshot before = snapshot(folder);
  const InstallReport again = install_program_folder(folder, kData, clock);
  EXPECT_EQ(again.created, std::vector<std::string>{});
  EXPECT_EQ(again.kept.size(), installed_tables().size());
  EXPECT_EQ(snapshot(folder), before);
}

TEST_F(InstallTest, AnOfficesTablesAreKeptWhateverTheirCaseAndTheMissingOnesAdded) {
  fs::create_directories(folder);
  const std::string office = os::join_path(folder, "imp0115.dbf");
  dbf::Table::create(office, store::declaration_layout(1));
  {
    dbf::Table t = dbf::Table::open(office, {dbf::OpenMode::exclusive}, clock);
    t.append_blank();
    t.set_text("CPF", "11111111111");
    t.close();
  }
  const std::string bytes = file_bytes(office);
  const InstallReport report = install_program_folder(folder, kData, clock);
  EXPECT_EQ(report.kept, std::vector<std::string>{"IMP0115.DBF"});
  EXPECT_EQ(file_bytes(office), bytes);
  EXPECT_FALSE(fs::exists(os::join_path(folder, "IMP0115.DBF")));
  EXPECT_TRUE(fs::exists(os::join_path(folder, "IMP0215.DBF")));
}

TEST_F(InstallTest, TheCommandReportsWhatItDidAndAMissingSource) {
  std::ostringstream out, err;
  EXPECT_EQ(run_install({}, out, err), 2);
  EXPECT_NE(err.str().find("uso: kaprix install"), std::string::npos);

  // A data folder without the source of CODDIVI, through the environment.
  const std::string data = tmp / "dados";
  fs::create_directories(data);
  for (const auto& e : fs::directory_iterator(kData))
    if (e.path().filename() != "CODDIVI.csv") fs::copy_file(e.path(), data / e.path().filename());
  {
    const ScopedEnv env("KAPRIX_DATA", data);
    out.str(""), err.str("");
    EXPECT_EQ(run_install({folder}, out, err), 1);
    EXPECT_NE(out.str().find("criada: DEFINE.DBF\n"), std::string::npos) << out.str();
    EXPECT_NE(err.str().find("CODDIVI.DBF não criada: falta a fonte " + data + "/CODDIVI.csv"),
              std::string::npos)
        << err.str();
    EXPECT_FALSE(fs::exists(os::join_path(folder, "CODDIVI.DBF")));
  }
  out.str(""), err.str("");
  EXPECT_EQ(run_install({folder}, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("criada: CODDIVI.DBF\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("mantida: DEFINE.DBF\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("1 tabelas criadas"), std::string::npos) << out.str();
}

TEST_F(InstallTest, ReftabImportReplacesTheRowsOfTheProgramFolderTable) {
  copy_installed();
  const std::string list = tmp.write("divi.csv", "CODDIV,DESCDIV\n11,Banco\n12,Outra\n13,Mais\n");
  const ScopedEnv env("DKAPRIX", folder);
  std::ostringstream out, err;
  EXPECT_EQ(run_reftab({"import", "coddivi", list}, out, err), 0) << err.str();
  EXPECT_EQ(out.str(), "CODDIVI.DBF: 3 registros importados de " + list + "\n");
  EXPECT_EQ(dbf::Table::open(os::join_path(folder, "CODDIVI.DBF"), {dbf::OpenMode::read_only},
                             clock)
                .record_count(),
            3u);

  struct Bad {
    std::vector<std::string> args;
    int status;
    const char* said;
  };
  for (const Bad& bad : {Bad{{"import", "IMP0115", list}, 2, "não é uma tabela de referência"},
                         Bad{{"export", "CODDIVI", list}, 2, "uso: kaprix reftab"},
                         Bad{{"import", "CODDIVI", tmp / "nenhum.csv"}, 1, "nenhum.csv"}}) {
    out.str(""), err.str("");
    EXPECT_EQ(run_reftab(bad.args, out, err), bad.status) << bad.args[1];
    EXPECT_NE(err.str().find(bad.said), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "");
  }
}

}  // namespace
}  // namespace kx::shell
