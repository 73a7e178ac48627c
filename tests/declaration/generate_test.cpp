// generate: synthetic declarations, reproducible from the seed, plausible enough to compute.
#include <set>

#include "declaration/generate_command.h"
#include "folder_fixture.h"
#include "ui/identifiers.h"

namespace kx::declaration::testing {
namespace {

class Generate : public WorkFolderTest {
 protected:
  int generate(const std::vector<std::string>& args, std::string* out = nullptr) {
    std::ostringstream o, e;
    const int status = run_generate(args, o, e, CommandEnvironment{clock, ""});
    if (out) *out = o.str() + e.str();
    return status;
  }

  // The values of a field over every row of table n.
  std::vector<std::string> column(int n, const std::string& name) {
    dbf::Table t = open(n, dbf::OpenMode::read_only);
    std::vector<std::string> out;
    const dbf::Field& f = t.field(name);
    t.scan([&](uint32_t, const dbf::RecordView& row) {
      out.emplace_back(f.type == dbf::FieldType::numeric ? row.number(f).str(f.decimals)
                                                         : std::string(text::rtrim(row.text(f))));
      return true;
    });
    return out;
  }
};

TEST_F(Generate, SameSeedSameDeclarations) {
  os::testing::TempFolder other;
  ASSERT_EQ(generate({"--folder", folder(), "--count", "30", "--seed", "7"}), 0);
  ASSERT_EQ(generate({"--folder", other.path(), "--count", "30", "--seed", "7"}), 0);
  for (int n = 1; n <= store::kDeclarationTables; ++n) {
    const std::string name = store::declaration_table_name(n) + ".DBF";
    EXPECT_EQ(tmp.read("Dados 2015/" + name), other.read(name)) << name;
  }
  os::testing::TempFolder third;
  ASSERT_EQ(generate({"--folder", third.path(), "--count", "30", "--seed", "8"}), 0);
  EXPECT_NE(third.read("IMP0915.DBF"), other.read("IMP0915.DBF"));
}

TEST_F(Generate, DeclarationsArePlausibleAndComputeWithoutError) {
  std::string said;
  ASSERT_EQ(generate({"--folder", folder(), "--count", "200", "--seed", "3"}, &said), 0) << said;
  EXPECT_EQ(said, "200 declarações geradas em " + folder() + "\n");

  const std::vector<std::string> cpfs = column(9, "CPF");
  const std::set<std::string> taxpayers(cpfs.begin(), cpfs.end());
  EXPECT_EQ(taxpayers.size(), 200u);
  for (const std::string& cpf : cpfs) EXPECT_TRUE(ui::VAL_CPF(cpf, true, 2).ok) << cpf;
  const std::vector<std::string> summaries = column(1, "CPF");
  EXPECT_EQ(std::set<std::string>(summaries.begin(), summaries.end()), taxpayers);
  EXPECT_EQ(summaries.size(), 200u);
  for (int n : {2, 3, 4, 5, 6})
    for (const std::string& cpf : column(n, "CPF")) EXPECT_TRUE(taxpayers.count(cpf)) << n;

  // Employers with valid CNPJs; every kind of income, payment and item present.
  const auto kinds = column(2, "I1_1"), payers = column(2, "I1_3");
  for (size_t i = 0; i < kinds.size(); ++i) {
    if (kinds[i] == "J" || kinds[i] == "D") {
      EXPECT_TRUE(ui::VAL_CGC(ui::TIRA_PONTO(payers[i]), true).ok) << payers[i];
    }
  }
  EXPECT_EQ(std::set<std::string>(kinds.begin(), kinds.end()),
            (std::set<std::string>{"J", "D", "F", "I"}));
  const auto codes = column(6, "I6_3");
  EXPECT_EQ(std::set<std::string>(codes.begin(), codes.end()),
            (std::set<std::string>{"1", "10", "36", "41", "50"}));
  for (const std::string& cpf : column(3, "CPFDEPEN")) EXPECT_TRUE(ui::VAL_CPF(cpf, true, 2).ok);
  EXPECT_FALSE(column(4, "CPF").empty());
  EXPECT_FALSE(column(5, "CPF").empty());
  // Names in Portuguese, accents stored in CP850.
  bool accented = false;
  for (const std::string& name : column(9, "NOMECONTR"))
    for (unsigned char c : name) accented |= c >= 0x80;
  EXPECT_TRUE(accented);

  for (int n = 1; n <= store::kDeclarationTables; ++n)
    EXPECT_EQ(open(n, dbf::OpenMode::read_only).check(), std::vector<std::string>{}) << n;
  const Output all = calc({"--folder", folder(), "--all", "--write"});
  EXPECT_EQ(all.status, 0);
  EXPECT_NE(all.out.find("200 gravadas, 0 sem alteração, 0 ignoradas, 0 com erro"),
            std::string::npos)
      << all.out.substr(all.out.size() - 200);
}

TEST_F(Generate, AddsNewTaxpayersToAFilledFolder) {
  ASSERT_EQ(generate({"--folder", folder(), "--count", "5", "--seed", "1"}), 0);
  ASSERT_EQ(generate({"--folder", folder(), "--count", "5", "--seed", "1"}), 0);
  const std::vector<std::string> cpfs = column(9, "CPF");
  EXPECT_EQ(std::set<std::string>(cpfs.begin(), cpfs.end()).size(), 10u);
}

TEST_F(Generate, RefusesBadArguments) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--folder", folder()},
           {"--count", "3"},
           {"--folder", folder(), "--count", "-1"},
           {"--folder", folder(), "--count", "3x"},
           {"--folder", folder(), "--count", "3", "--seed", "abc"},
           {"--folder", folder(), "--count", "3", "--extra"}})
    EXPECT_EQ(generate(args), 2) << args.back();
  EXPECT_FALSE(std::filesystem::exists(folder()));
}

}  // namespace
}  // namespace kx::declaration::testing
