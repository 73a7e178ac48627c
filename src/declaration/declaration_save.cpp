// Saving the open declaration: everything prepared in the working copies first, then the
// marker's "saving", the write-back table by table, and NUSUAT and the marker last.
#include <algorithm>
#include <cstdio>

#include "base/cp850.h"
#include "base/text.h"
#include "declaration/darf_counts.h"
#include "declaration/open_declaration.h"
#include "declaration/row_values.h"
#include "declaration/work_folder.h"
#include "declaration/working_copies.h"
#include "declaration/write_back.h"
#include "store/access_lock.h"
#include "store/layout.h"

namespace kx::declaration {

namespace {

// The copy's single row of the declaration (the first visible one), put there when missing.
void write_copy_row(dbf::Table& copy, int n, const std::string& cpf, const std::string& country,
                    const DeclarationValues& values) {
  uint32_t recno = 0;
  copy.scan([&](uint32_t r, const dbf::RecordView& row) {
    if (!belongs(n, row, cpf, country)) return true;
    recno = r;
    return false;
  });
  std::string bytes = copy.blank_record();
  if (recno) {
    copy.go_to(recno);
    bytes = std::string(copy.record().bytes());
  }
  bytes = values.write(copy.schema(), bytes);
  if (!recno) {
    copy.append(bytes);
    return;
  }
  const dbf::RecordView view(copy.schema(), bytes);
  for (const dbf::Field& f : copy.schema().fields()) {
    switch (f.type) {
      case dbf::FieldType::numeric: copy.set_number(f.name, view.number(f)); break;
      case dbf::FieldType::date: copy.set_date(f.name, view.date(f)); break;
      case dbf::FieldType::logical: copy.set_logical(f.name, view.logical(f)); break;
      default: copy.set_text(f.name, view.text(f));
    }
  }
  copy.commit();
}

// Every row of the working copies, for the DARF counts.
class CopiesRows : public DeclarationRows {
 public:
  explicit CopiesRows(OpenDeclaration& d) : d_(d) {}
  const dbf::Schema* schema(int n) override { return &store::declaration_layout(n); }
  void visit(int n, const std::function<void(const dbf::RecordView&)>& visit) override {
    d_.copy(n).scan([&](uint32_t, const dbf::RecordView& row) {
      visit(row);
      return true;
    });
  }
  bool store(const std::vector<RowUpdate>&) override { return false; }

 private:
  OpenDeclaration& d_;
};

}  // namespace

bool OpenDeclaration::save(SaveMode mode) {
  reason_.clear();
  if (!open_) return fail(cp850::from_utf8("Nenhuma declaração aberta."));
  const std::string aux = detail::aux_folder(a_.settings);
  const std::string& nusu = a_.settings.NUSU;
  const bool final_save = mode == SaveMode::final;
  const bool rural = text::trim(values_.text("TEMRURAL")) == "S";
  int begun = started_;  // when the editing clock last started: the usage log's start
  // 1. Everything into the working copies; nothing shared is touched yet.
  try {
    values_.set("TAM_USO", Decimal(data_size()));
    recompute();
    CopiesRows rows(*this);
    const DarfCounts counts = darf_counts(
        rows, static_cast<int>(values_.number("QTD_QUOTA").to_int()), values_.number("I13_37"));
    for (const NamedValue& v : darf_values(counts))
      values_.set(v.name, std::holds_alternative<int>(v.value)
                              ? ui::Value(Decimal(std::get<int>(v.value)))
                              : ui::Value(std::get<Decimal>(v.value)));
    values_.set("TEM_USO", Decimal(elapsed_seconds()));
    begun = started_;
    restart_clock();
    values_.set("NUSUAT", nusu);
    values_.set("NOMEAG", operator_name_);

    // The registry row keeps the tax withheld in total and the tax paid less the tax on
    // accumulated income taxed on its own.
    DeclarationValues registry = values_;
    registry.set("I13_27", values_.number("I13_27") + values_.number("I13_28"));
    registry.set("I13_35", values_.number("I13_35") - values_.number("I13_34"));
    write_copy_row(copy(kRegistryTable), kRegistryTable, cpf_, country_, registry);
    write_copy_row(copy(kSummaryTable), kSummaryTable, cpf_, country_, values_);
    if (rural) write_copy_row(copy(kRuralResultTable), kRuralResultTable, cpf_, country_, values_);
    for (int n : saved_tables(rural)) prepare_copy(copy(n), n);
    for (int n : copied_tables()) copy(n).flush();
  } catch (const dbf::FieldOverflow& e) {
    return fail(cp850::from_utf8("Valor não cabe no campo: ") + e.what() +
                cp850::from_utf8(". Os dados não foram salvos."));
  } catch (const std::exception& e) {
    return fail(cp850::from_utf8("Erro ao preparar a gravação: ") + e.what() +
                cp850::from_utf8(". Os dados não foram salvos."));
  }

  // 2. The redo log says "saving"; from here an interruption is finished from the copies.
  SaveMarker marker{folder_, cpf_, MarkerState::saving, final_save, rural, country_};
  write_marker(aux, nusu, marker);
  if (hook_) hook_();
  try {
    if (auto error = detail::write_back(
            a_, marker, [&](int n) -> dbf::Table& { return copy(n); }, hook_))
      return fail(*error);
  } catch (const std::exception& e) {
    // The marker still says "saving": the next save or opening finishes the write-back.
    return fail(cp850::from_utf8("Erro ao gravar: ") + e.what() +
                cp850::from_utf8(". Os dados não foram salvos."));
  }

  // 3. Only now the declaration is no longer open on this terminal.
  if (!final_save) {
    marker.state = MarkerState::editing;
    write_marker(aux, nusu, marker);
    return true;
  }
  if (!detail::set_nusuat(a_, detail::folder_path(folder_), cpf_, "", nusu))
    return fail(cp850::from_utf8("ATENÇÃO! Registro não ficou disponível. Dado não será gravado."));
  if (hook_) hook_();
  clear_marker(aux, nusu);
  close_copies();
  remove_copies(aux, nusu);
  open_ = false;
  log_usage(begun, started_);
  return true;
}

void OpenDeclaration::log_usage(int begun, int ended) {
  constexpr int kUsageLog = 73;
  const auto hms = [](int seconds) {
    char out[16];
    std::snprintf(out, sizeof out, "%02d:%02d:%02d", seconds / 3600 % 24, seconds / 60 % 60,
                  seconds % 60);
    return std::string(out);
  };
  int spent = ended - begun;
  if (spent < 0) spent += 86399;
  // The declaration is saved already: a usage row that cannot be written is only missing.
  try {
    if (!store::ABERTURA(a_, kUsageLog)) return;
    a_.workspace.select(kUsageLog);
    if (!store::ADD_REC(a_, 5)) return;
    dbf::Table& log = a_.workspace.table(kUsageLog);
    log.set_text("NOMEAG", operator_name_);
    log.set_text("CPF", cpf_);
    log.set_text("NOMECONTR", values_.text("NOMECONTR"));
    log.set_date("DATAUSO", a_.clock.today());
    log.set_text("INIUSO", hms(begun));
    log.set_text("FIMUSO", hms(ended));
    log.set_text("TEMUSO", hms(spent));
    log.unlock_all();
    a_.workspace.close(kUsageLog);
  } catch (const std::exception&) {
  }
}

void OpenDeclaration::store_summary() {
  write_copy_row(copy(kSummaryTable), kSummaryTable, cpf_, country_, values_);
}

}  // namespace kx::declaration
