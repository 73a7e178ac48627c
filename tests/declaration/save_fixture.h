// A work folder with two taxpayers (assets, income rows), an auxiliary folder and the table
// layer's access for terminal "07", for the tests of loading and saving one declaration.
#pragma once

#include <filesystem>
#include <memory>

#include "folder_fixture.h"
#include "../store/operator_script.h"
#include "declaration/open_declaration.h"
#include "declaration/working_copies.h"

namespace kx::declaration::testing {

inline const std::string kCpf = "11144477735", kOther = "52998224725";

class SaveTest : public WorkFolderTest {
 protected:
  SaveTest() {
    settings.NUSU = "07";
    settings.LOCARQ = folder();
    settings.LOCTRAB = aux();
    settings.ARQDEF = tmp.path() + "/Kaprix/";
    std::filesystem::create_directories(aux());
    std::filesystem::create_directories(settings.ARQDEF);
    create_all_tables();
    add_taxpayer(kCpf, "ANA SOUSA");
    add_taxpayer(kOther, "BRUNO LIMA");
    for (int order : {3, 1, 2})
      add(4, {{"CPF", kCpf}, {"I7_0", std::to_string(order)}, {"I7_2", "bem " + std::to_string(order)}});
    add(4, {{"CPF", kOther}, {"I7_0", "7"}, {"I7_2", "bem de outro"}});
    add(2, {{"CPF", kCpf}, {"I1_1", "J"}, {"DT_LC", "20/05/2014"}, {"I1_2", "maio"}});
    add(2, {{"CPF", kCpf}, {"I1_1", "J"}, {"DT_LC", "10/01/2014"}, {"I1_2", "janeiro"}});
  }
  ~SaveTest() override { workspace.close_all(); }

  std::string aux() const { return tmp.path() + "/Aux"; }
  store::Access access() { return {workspace, settings, op, clock, {}}; }
  std::unique_ptr<OpenDeclaration> opened(const std::string& cpf = kCpf) {
    auto d = std::make_unique<OpenDeclaration>(access(), "OPERADOR");
    EXPECT_TRUE(d->load(cpf, Origin::existing, true)) << d->reason();
    return d;
  }

  // The values of `field` in the rows of `cpf` in table n of the folder, in record order.
  std::vector<std::string> column(int n, const std::string& field, const std::string& cpf = kCpf) {
    dbf::Table t = dbf::Table::open(file(n), {dbf::OpenMode::read_only}, clock);
    std::vector<std::string> out;
    t.scan([&](uint32_t, const dbf::RecordView& row) {
      if (text::rtrim(row.text(*row.schema().find("CPF"))) == cpf) {
        const dbf::Field& f = *row.schema().find(field);
        out.emplace_back(text::trim(f.type == dbf::FieldType::numeric ? row.number(f).str()
                                                                       : std::string(row.text(f))));
      }
      return true;
    });
    return out;
  }
  std::string registry(const std::string& field, const std::string& cpf = kCpf) {
    const auto v = column(9, field, cpf);
    return v.size() == 1 ? v[0] : "<" + std::to_string(v.size()) + " rows>";
  }
  bool copy_exists(int n) {
    return std::filesystem::exists(copy_stem(aux(), n, "07") + ".DBF");
  }
  std::optional<MarkerState> marker_state() {
    const auto m = read_marker(aux(), "07");
    return m ? std::optional(m->state) : std::nullopt;
  }
  void append_to_copy(OpenDeclaration& d, int n, const Row& row) {
    dbf::Table& c = d.copy(n);
    c.append_blank();
    for (const auto& [name, value] : row) {
      if (c.field(name).type == dbf::FieldType::numeric) c.set_number(name, *Decimal::parse(value));
      else c.set_text(name, value);
    }
    c.commit();
  }

  store::Settings settings;
  store::Workspace workspace;
  store::testing::ScriptedOperator op;
};

}  // namespace kx::declaration::testing
