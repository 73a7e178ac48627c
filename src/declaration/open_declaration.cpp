#include "declaration/open_declaration.h"

#include <algorithm>
#include <map>

#include "base/cp850.h"
#include "base/text.h"
#include "declaration/command_environment.h"
#include "declaration/tax_adapter.h"
#include "declaration/work_folder.h"
#include "declaration/working_copies.h"
#include "declaration/write_back.h"
#include "store/folder.h"
#include "store/layout.h"
#include "tax/compute.h"

namespace kx::declaration {

using detail::aux_folder;
using detail::folder_path;

namespace {

constexpr int kMaxSize = 999999;
constexpr int kLastSizedTable = 14;
const Decimal kLowestIndex = "-99.99"_dec, kHighestIndex = "999"_dec;
const Decimal kLowestBalance = "-99999999.99"_dec;

// The spending index and the balance kept inside what their registry fields hold.
void keep_in_range(DeclarationValues& v) {
  v.set("INDGAS", std::clamp(v.number("INDGAS"), kLowestIndex, kHighestIndex));
  v.set("SALDO", std::max(v.number("SALDO"), kLowestBalance));
}

ui::Value to_value(const FieldValue& v) {
  return std::visit(
      [](const auto& x) -> ui::Value {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, int>) return Decimal(x);
        else return x;
      },
      v);
}

int second_of_day(const Clock& clock) {
  const DateTime t = clock.now();
  return t.hour * 3600 + t.minute * 60 + t.second;
}

// The rows of the open declaration for the computation: the single rows from the values, the
// others from the working copies.
class CopyRows : public DeclarationRows {
 public:
  CopyRows(OpenDeclaration& d, DeclarationValues& values) : d_(d), values_(values) {}
  const dbf::Schema* schema(int n) override { return &store::declaration_layout(n); }
  void visit(int n, const std::function<void(const dbf::RecordView&)>& visit) override {
    if (n == kRegistryTable || n == kSummaryTable) {
      const dbf::Schema& s = store::declaration_layout(n);
      const std::string row = values_.write(s, std::string(s.record_length(), ' '));
      visit(dbf::RecordView(s, row));
      return;
    }
    if (n == kCashBookTable) return;
    d_.copy(n).scan([&](uint32_t, const dbf::RecordView& row) {
      visit(row);
      return true;
    });
  }
  bool store(const std::vector<RowUpdate>& updates) override {
    for (const RowUpdate& u : updates)
      for (const NamedValue& v : u.values)
        if (values_.has(v.name)) values_.set(v.name, to_value(v.value));
    return true;
  }

 private:
  OpenDeclaration& d_;
  DeclarationValues& values_;
};

// The defaults of a new declaration.
void new_taxpayer_defaults(DeclarationValues& v) {
  const std::pair<const char*, ui::Value> defaults[] = {
      {"EBRASIL", std::string("S")},  {"EXTERIOR", std::string("N")},
      {"TEMRURAL", std::string("N")}, {"I9_4", std::string("N")},
      {"I9_5", std::string("N")},     {"I9_6", std::string("S")},
      {"CAL_AUTO", Decimal(1)},       {"E_INVALIDO", std::string("N")},
      {"ESTATUS", Decimal(2)},        {"SO_REC", true},
      {"SO_SIMPLES", std::string("S")}, {"INDALERTA", Decimal(10)},
      {"USAPADRAO", std::string("S")}};
  for (const auto& [name, value] : defaults) v.set(name, value);
}

// The first row of `copy` (at its top in record order) into the values.
void read_first_row(dbf::Table& copy, DeclarationValues& v) {
  copy.scan([&](uint32_t, const dbf::RecordView& row) {
    v.read(row);
    return false;
  });
}

}  // namespace

OpenDeclaration::OpenDeclaration(store::Access access, std::string operator_name)
    : a_(std::move(access)), operator_name_(std::move(operator_name)) {
  for (int n : {kRegistryTable, kSummaryTable, kMonthlyTable, kRuralResultTable})
    values_.add_fields(store::declaration_layout(n));
}

OpenDeclaration::~OpenDeclaration() {
  try {
    close_copies();
  } catch (...) {
    // the copies stay on disk with the marker: nothing is lost
  }
}

bool OpenDeclaration::fail(std::string reason) {
  reason_ = std::move(reason);
  return false;
}

dbf::Table& OpenDeclaration::copy(int n) { return a_.workspace.table(n + store::kFirstWorkingCopy - 1); }

void OpenDeclaration::close_copies() {
  a_.workspace.close_range(store::kFirstWorkingCopy, store::kLastWorkingCopy);
}

bool OpenDeclaration::open_copies() {
  const std::string aux = aux_folder(a_.settings);
  for (int n : copied_tables())
    a_.workspace.put(n + store::kFirstWorkingCopy - 1,
                     {open_copy(copy_stem(aux, n, a_.settings.NUSU), n, a_.clock),
                      store::working_copy_name(n, a_.settings.NUSU)});
  return true;
}

void OpenDeclaration::read_values(Origin origin) {
  values_.clear();
  read_first_row(copy(kRegistryTable), values_);
  if (origin == Origin::new_taxpayer) {
    const std::string name = values_.text("NOMECONTR");
    values_.clear();
    new_taxpayer_defaults(values_);
    values_.set("NOMECONTR", text::is_blank(name) ? a_.settings.NOMECONTR : name);
  } else {
    read_first_row(copy(kSummaryTable), values_);
    read_first_row(copy(kMonthlyTable), values_);
    copy(kRuralResultTable).scan([&](uint32_t, const dbf::RecordView& row) {
      if (!belongs(kRuralResultTable, row, cpf_, country_)) return true;
      values_.read(row);
      return false;
    });
  }
  values_.set("CPF", cpf_);
  if (!values_.has("ATV_BRASIL") || text::is_blank(values_.text("ATV_BRASIL")))
    values_.set("ATV_BRASIL", country_.empty() ? std::string("S") : country_);
}

bool OpenDeclaration::mark_registry(const std::string& terminal) {
  if (!detail::set_nusuat(a_, folder_path(folder_), cpf_, terminal))
    return fail(cp850::from_utf8("ATENÇÃO! Registro não ficou disponível. Dado não será gravado."));
  values_.set("NUSUAT", terminal);
  return true;
}

bool OpenDeclaration::load(const std::string& cpf, Origin origin, bool mark_open) {
  reason_.clear();
  close_copies();
  open_ = false;
  const std::string aux = aux_folder(a_.settings);
  const std::string& nusu = a_.settings.NUSU;
  if (finish_interrupted_save(a_, &reason_) == Redo::failed) return false;
  if (const auto m = read_marker(aux, nusu);
      m && m->state == MarkerState::editing &&
      (m->cpf != cpf || !store::same_folder(m->folder, a_.settings.LOCARQ))) {
    if (!a_.op.ask({cp850::from_utf8("Há uma declaração interrompida neste terminal (CPF ") +
                        m->cpf + ").",
                    cp850::from_utf8("Abandona as alterações dela e abre esta?")}))
      return fail(cp850::from_utf8("Declaração interrompida mantida para recuperação."));
    if (!drop_unfinished(a_, &reason_)) return false;
  }
  cpf_ = cpf;
  folder_ = a_.settings.LOCARQ;
  remove_copies(aux, nusu);
  SaveMarker marker{folder_, cpf_, MarkerState::loading};
  write_marker(aux, nusu, marker);

  const std::string folder = folder_path(folder_);
  country_.assign(1, 'S');  // not = "S": a false -Wrestrict of GCC 12
  for (int n : copied_tables()) {
    std::optional<dbf::Table> t = detail::open_table(
        a_, folder, n, n == kSummaryTable ? detail::Wait::retry : detail::Wait::ask);
    if (!t) return fail(cp850::from_utf8("Carga da declaração abandonada."));
    if (!t->lock_file(detail::lock_wait(a_)))
      return fail(cp850::from_utf8("Carga da declaração abandonada."));
    if (n == kRegistryTable) {
      t->set_order(1);
      if (t->seek(cpf_) && text::rtrim(t->get_text("CPF")) == cpf_ &&
          !text::is_blank(t->get_text("ATV_BRASIL")))
        country_ = std::string(text::trim(t->get_text("ATV_BRASIL")));
    }
    build_copy(*t, copy_stem(aux, n, nusu), n, cpf_, country_);
    t->unlock_all();
    t->close();
  }
  open_copies();
  read_values(origin);
  recompute();
  marker.state = MarkerState::editing;
  marker.country = country_;
  write_marker(aux, nusu, marker);
  if (mark_open && !mark_registry(nusu)) return false;
  restart_clock();
  open_ = true;
  return true;
}

bool OpenDeclaration::restore(const std::string& cpf, bool mark_open) {
  reason_.clear();
  close_copies();
  open_ = false;
  const std::string aux = aux_folder(a_.settings);
  const std::string& nusu = a_.settings.NUSU;
  if (finish_interrupted_save(a_, &reason_) == Redo::failed) return false;
  const auto m = read_marker(aux, nusu);
  if (!m || m->state != MarkerState::editing || m->cpf != cpf)
    return fail(cp850::from_utf8("Não há declaração interrompida deste contribuinte."));
  if (!store::same_folder(m->folder, a_.settings.LOCARQ))
    return fail(cp850::from_utf8("A declaração interrompida é da pasta ") + m->folder + ".");
  if (auto wrong = check_copies(aux, nusu, cpf, a_.clock)) return fail(*wrong);
  cpf_ = cpf;
  folder_ = m->folder;
  country_ = m->country.empty() ? "S" : m->country;
  open_copies();
  read_values(Origin::existing);
  recompute();
  if (mark_open && !mark_registry(nusu)) return false;
  restart_clock();
  open_ = true;
  return true;
}

bool OpenDeclaration::discard() {
  reason_.clear();
  if (!open_) return true;
  close_copies();
  if (!drop_unfinished(a_, &reason_)) {
    open_copies();
    return false;
  }
  open_ = false;
  return true;
}

void OpenDeclaration::recompute() {
  keep_in_range(values_);
  CopyRows rows(*this, values_);
  const std::optional<tax::Declaration> d = read_declaration(rows);
  const tax::Result r =
      tax::compute(*d, tax_context({a_.clock, folder_path(a_.settings.ARQDEF)}));
  rows.store({{kSummaryTable, summary_values(r)}});
  // The registry's own results; the summary lines it copies are stored with the row.
  const dbf::Schema& summary = store::declaration_layout(kSummaryTable);
  std::vector<NamedValue> own;
  for (NamedValue& v : registry_values(r))
    if (!summary.find(v.name)) own.push_back(std::move(v));
  rows.store({{kRegistryTable, own}});
  keep_in_range(values_);
}

int OpenDeclaration::elapsed_seconds() {
  const int now = second_of_day(a_.clock);
  if (stopped_) started_ = now;
  int spent = now - started_;
  if (spent < 0) spent += 86399;
  const int before = static_cast<int>(values_.number("TEM_USO").to_int());
  return std::min(before + spent, kMaxSize);
}

void OpenDeclaration::stop_clock(bool stopped) {
  if (stopped == stopped_) return;
  if (stopped) values_.set("TEM_USO", Decimal(elapsed_seconds()));  // the time so far is kept
  restart_clock();
  stopped_ = stopped;
}

void OpenDeclaration::restart_clock() { started_ = second_of_day(a_.clock); }

int OpenDeclaration::data_size() {
  int64_t size = 0;
  for (int n = 1; n <= kLastSizedTable; ++n) {
    store::OpenTable* t = a_.workspace.held(n + store::kFirstWorkingCopy - 1);
    if (!t) continue;
    const dbf::TableInfo info = t->table.info();
    size += int64_t{info.record_length} * info.record_count + info.header_length + 1;
  }
  return static_cast<int>(std::min<int64_t>(size, kMaxSize));
}

std::optional<SaveMarker> unfinished_declaration(const store::Settings& settings) {
  auto m = read_marker(aux_folder(settings), settings.NUSU);
  if (m && m->state == MarkerState::loading) return std::nullopt;
  return m;
}

Redo finish_interrupted_save(store::Access& a, std::string* reason) {
  const std::string aux = aux_folder(a.settings);
  const std::string& nusu = a.settings.NUSU;
  auto m = read_marker(aux, nusu);
  if (!m || m->state != MarkerState::saving) return Redo::nothing;
  auto failed = [&](const std::string& why) {
    if (reason) *reason = why;
    return Redo::failed;
  };
  if (auto wrong = check_copies(aux, nusu, m->cpf, a.clock)) return failed(*wrong);
  {
    std::map<int, dbf::Table> copies;
    for (int n : copied_tables()) copies.emplace(n, open_copy(copy_stem(aux, n, nusu), n, a.clock));
    const auto error = detail::write_back(a, *m, [&](int n) -> dbf::Table& { return copies.at(n); }, {});
    if (error) return failed(*error);
  }
  if (m->final_save) {
    if (!detail::set_nusuat(a, folder_path(m->folder), m->cpf, "", nusu))
      return failed(cp850::from_utf8("ATENÇÃO! Registro não ficou disponível. Dado não será gravado."));
    clear_marker(aux, nusu);
    remove_copies(aux, nusu);
  } else {
    m->state = MarkerState::editing;
    write_marker(aux, nusu, *m);
  }
  return Redo::finished;
}

bool drop_unfinished(store::Access& a, std::string* reason) {
  if (finish_interrupted_save(a, reason) == Redo::failed) return false;
  const std::string aux = aux_folder(a.settings);
  const std::string& nusu = a.settings.NUSU;
  if (const auto m = read_marker(aux, nusu)) {
    if (m->state != MarkerState::loading &&
        !detail::set_nusuat(a, folder_path(m->folder), m->cpf, "", nusu)) {
      if (reason)
        *reason = cp850::from_utf8("ATENÇÃO! Registro não ficou disponível. Dado não será gravado.");
      return false;
    }
  }
  remove_copies(aux, nusu);
  clear_marker(aux, nusu);
  return true;
}

}  // namespace kx::declaration
