#include "tax/fields.h"

#include <cstdio>
#include <functional>
#include <map>

#include "base/cp850.h"

namespace kx::tax {

namespace {

// Field name (upper case) -> member of T.
template <class T>
class FieldTable {
 public:
  using Getter = std::function<FieldRef(T&)>;
  void add(std::string name, Getter getter) { by_name_.emplace(std::move(name), std::move(getter)); }
  std::optional<FieldRef> find(T& row, std::string_view name) const {
    auto it = by_name_.find(cp850::upper(name));
    if (it == by_name_.end()) return std::nullopt;
    return it->second(row);
  }

 private:
  std::map<std::string, Getter, std::less<>> by_name_;
};

#define KX_FIELD(NAME) t.add(#NAME, [](auto& o) -> FieldRef { return &o.NAME; })

std::string two_digits(int n) {
  char buf[4];
  std::snprintf(buf, sizeof buf, "%02d", n);
  return buf;
}

// A monthly family: prefix + mm for mm = 01..12.
template <class T, class Get>
void add_months(FieldTable<T>& t, const std::string& prefix, Get get) {
  for (int m = 1; m <= 12; ++m)
    t.add(prefix + two_digits(m), [get, m](T& row) -> FieldRef { return &get(row)[m - 1]; });
}

}  // namespace

std::optional<FieldRef> field(Registry& row, std::string_view name) {
  static const FieldTable<Registry> table = [] {
    FieldTable<Registry> t;
    KX_FIELD(CPF); KX_FIELD(NASCIMENTO); KX_FIELD(CODAT); KX_FIELD(TEMRURAL); KX_FIELD(USAPADRAO);
    KX_FIELD(DEBITAUT); KX_FIELD(SO_SIMPLES); KX_FIELD(SOMAG); KX_FIELD(CPFCONJU); KX_FIELD(I9_4);
    KX_FIELD(I9_5); KX_FIELD(CONJPAD); KX_FIELD(I9_2); KX_FIELD(I9_3); KX_FIELD(I13_1C); KX_FIELD(I13_2C);
    KX_FIELD(I13_3C); KX_FIELD(I13_4C); KX_FIELD(I13_5C);
    return t;
  }();
  return table.find(row, name);
}

std::optional<FieldRef> field(Summary& row, std::string_view name) {
  static const FieldTable<Summary> table = [] {
    FieldTable<Summary> t;
    KX_FIELD(I3_02); KX_FIELD(I3_21); KX_FIELD(I3_22); KX_FIELD(I3_23);
    KX_FIELD(I3_04GCPV); KX_FIELD(I3_04UNIC); KX_FIELD(I3_04REDU); KX_FIELD(I3_04EXTR);
    KX_FIELD(I3_04GCPVC); KX_FIELD(I3_04UNICC); KX_FIELD(I3_04REDUC);
    KX_FIELD(I3_11); KX_FIELD(I3_20); KX_FIELD(I4_02); KX_FIELD(I4_03); KX_FIELD(I13_07);
    KX_FIELD(I13_46); KX_FIELD(I13_47); KX_FIELD(I13_48); KX_FIELD(I13_31); KX_FIELD(I13_32);
    KX_FIELD(I13_33);
    KX_FIELD(DECFINAL); KX_FIELD(DECSAIDA); KX_FIELD(DECJUDI); KX_FIELD(DATAPARTI);
    KX_FIELD(DATADECIS); KX_FIELD(DATASAIDA); KX_FIELD(DATALAVRA); KX_FIELD(QTD_QUOTA);
    KX_FIELD(CARNEINSS); KX_FIELD(CARNEDEPEN);
    KX_FIELD(EMPRUR); KX_FIELD(AMORUR); KX_FIELD(PREJRUR); KX_FIELD(OUTREC); KX_FIELD(VALFUTUR);
    KX_FIELD(OUTRDES); KX_FIELD(PREJVEN1); KX_FIELD(PREJRVA); KX_FIELD(LUCRRVA); KX_FIELD(DESPNAO);
    KX_FIELD(IMPOANTER); KX_FIELD(CUSTOANT); KX_FIELD(CUSTOANO); KX_FIELD(ENTRADGP);
    KX_FIELD(ISENTNAO); KX_FIELD(INDALERTA); KX_FIELD(CAL_AUTO); KX_FIELD(SO_REC);
    return t;
  }();
  return table.find(row, name);
}

std::optional<FieldRef> field(IncomeRow& row, std::string_view name) {
  static const FieldTable<IncomeRow> table = [] {
    FieldTable<IncomeRow> t;
    KX_FIELD(I1_1); KX_FIELD(I1_2); KX_FIELD(I1_3); KX_FIELD(I1_8); KX_FIELD(I1_11);
    KX_FIELD(TIPOCR); KX_FIELD(DT_LC); KX_FIELD(I1_22); KX_FIELD(I1_35); KX_FIELD(I1_36);
    KX_FIELD(I1_4); KX_FIELD(I1_5); KX_FIELD(I1_6); KX_FIELD(I1_7); KX_FIELD(I1_9);
    KX_FIELD(I1_10); KX_FIELD(I1_12); KX_FIELD(I1_13); KX_FIELD(I1_14); KX_FIELD(I1_15);
    KX_FIELD(I1_16); KX_FIELD(I1_17); KX_FIELD(I1_18); KX_FIELD(I1_19); KX_FIELD(I1_20);
    KX_FIELD(I1_21); KX_FIELD(I1_23); KX_FIELD(I1_24); KX_FIELD(I1_25); KX_FIELD(I1_26);
    KX_FIELD(I1_27); KX_FIELD(I1_28); KX_FIELD(I1_29); KX_FIELD(I1_30); KX_FIELD(I1_31);
    KX_FIELD(I1_32); KX_FIELD(I1_33); KX_FIELD(I1_34); KX_FIELD(I1_37); KX_FIELD(I1_38);
    KX_FIELD(I1_39);
    add_months(t, "I1_4", [](IncomeRow& r) -> Months& { return r.I1_4m; });
    add_months(t, "I1_5", [](IncomeRow& r) -> Months& { return r.I1_5m; });
    add_months(t, "I1_6", [](IncomeRow& r) -> Months& { return r.I1_6m; });
    return t;
  }();
  return table.find(row, name);
}

std::optional<FieldRef> field(PaymentRow& row, std::string_view name) {
  static const FieldTable<PaymentRow> table = [] {
    FieldTable<PaymentRow> t;
    KX_FIELD(I6_1); KX_FIELD(I6_2); KX_FIELD(I6_3); KX_FIELD(I6_4); KX_FIELD(I6_5);
    KX_FIELD(I6_6); KX_FIELD(I6_7);
    add_months(t, "I6_4", [](PaymentRow& r) -> Months& { return r.I6_4m; });
    return t;
  }();
  return table.find(row, name);
}

std::optional<FieldRef> field(Dependant& row, std::string_view name) {
  static const FieldTable<Dependant> table = [] {
    FieldTable<Dependant> t;
    KX_FIELD(NOMEDEPEN); KX_FIELD(CPFDEPEN); KX_FIELD(CODIDEPEN); KX_FIELD(DATADEPEN);
    KX_FIELD(NRODEPEN);
    return t;
  }();
  return table.find(row, name);
}

std::optional<FieldRef> field(MonthlyRow& row, std::string_view name) {
  static const FieldTable<MonthlyRow> table = [] {
    FieldTable<MonthlyRow> t;
    KX_FIELD(CPFDEPEN);
    for (int mm = 1; mm <= 13; ++mm)
      for (int x = 1; x <= 7; ++x)
        t.add("I2_" + std::to_string(x) + two_digits(mm),
              [x, mm](MonthlyRow& r) -> FieldRef { return &r.at(x, mm); });
    return t;
  }();
  return table.find(row, name);
}

std::optional<FieldRef> field(Asset& row, std::string_view name) {
  static const FieldTable<Asset> table = [] {
    FieldTable<Asset> t;
    KX_FIELD(I7_3); KX_FIELD(I7_4); KX_FIELD(I7_9);
    return t;
  }();
  return table.find(row, name);
}

std::optional<FieldRef> field(Debt& row, std::string_view name) {
  static const FieldTable<Debt> table = [] {
    FieldTable<Debt> t;
    KX_FIELD(I8_3); KX_FIELD(I8_4); KX_FIELD(I8_6);
    return t;
  }();
  return table.find(row, name);
}

std::optional<FieldRef> field(Result& result, std::string_view name) {
  static const FieldTable<Result> table = [] {
    FieldTable<Result> t;
    KX_FIELD(I13_01); KX_FIELD(I13_02); KX_FIELD(I13_03); KX_FIELD(I13_04); KX_FIELD(I13_05);
    KX_FIELD(I13_06); KX_FIELD(I13_07); KX_FIELD(I13_08); KX_FIELD(I13_09); KX_FIELD(I13_10);
    KX_FIELD(I13_11); KX_FIELD(I13_12); KX_FIELD(I13_13); KX_FIELD(I13_14); KX_FIELD(I13_15);
    KX_FIELD(I13_16); KX_FIELD(I13_17); KX_FIELD(I13_18); KX_FIELD(I13_19); KX_FIELD(I13_20);
    KX_FIELD(I13_21); KX_FIELD(I13_22); KX_FIELD(I13_23); KX_FIELD(I13_24); KX_FIELD(I13_25);
    KX_FIELD(I13_26); KX_FIELD(I13_27); KX_FIELD(I13_28); KX_FIELD(I13_29); KX_FIELD(I13_30);
    KX_FIELD(I13_31); KX_FIELD(I13_32); KX_FIELD(I13_33); KX_FIELD(I13_34); KX_FIELD(I13_35);
    KX_FIELD(I13_36); KX_FIELD(I13_37); KX_FIELD(I13_38); KX_FIELD(I13_39); KX_FIELD(I13_40);
    KX_FIELD(I13_41); KX_FIELD(I13_42); KX_FIELD(I13_43); KX_FIELD(I13_44); KX_FIELD(I13_45);
    KX_FIELD(I13_46); KX_FIELD(I13_47); KX_FIELD(I13_48); KX_FIELD(I13_49); KX_FIELD(I13_50);
    for (int n = 1; n <= 24; ++n)
      t.add("I3_" + two_digits(n), [n](Result& r) -> FieldRef { return &r.I3[n]; });
    for (int n = 1; n <= 10; ++n)
      t.add("I4_" + two_digits(n), [n](Result& r) -> FieldRef { return &r.I4[n]; });
    KX_FIELD(QTD_QUOTA); KX_FIELD(CARNEINSS); KX_FIELD(CARNEDEPEN); KX_FIELD(EMPREST);
    KX_FIELD(DESPDECLA); KX_FIELD(DESPADRAO); KX_FIELD(DESPINST); KX_FIELD(DESPALIM);
    KX_FIELD(CGCPAGADOR); KX_FIELD(SALDO); KX_FIELD(INDGAS); KX_FIELD(IMPPGRE);
    KX_FIELD(EXGSUSP); KX_FIELD(DEBITAUT);
    KX_FIELD(DESCON); KX_FIELD(LIMMAX); KX_FIELD(N_DEPEN); KX_FIELD(NFUNPRESP);
    KX_FIELD(NPREVTIT); KX_FIELD(NPREVDEP); KX_FIELD(PENSAOM); KX_FIELD(NTOTDEP);
    KX_FIELD(I13_10A); KX_FIELD(I13_10B); KX_FIELD(I13_25A); KX_FIELD(I13_25B);
    KX_FIELD(I13_34A); KX_FIELD(I13_34B); KX_FIELD(I13_11T); KX_FIELD(I13_13T);
    KX_FIELD(I13_14D); KX_FIELD(I13_22T); KX_FIELD(I13_22C); KX_FIELD(I13_22P);
    KX_FIELD(I13_24T); KX_FIELD(DESPSIMP); KX_FIELD(NTOTEMPREG); KX_FIELD(I3_04D);
    KX_FIELD(I3_04C); KX_FIELD(RECEITA); KX_FIELD(DESPESA); KX_FIELD(VARPATR); KX_FIELD(I10_1);
    KX_FIELD(I10_2); KX_FIELD(NREC); KX_FIELD(NTOTBANT1); KX_FIELD(NTOTDANT1);
    KX_FIELD(DF_PAGTO); KX_FIELD(I9_2); KX_FIELD(I9_3); KX_FIELD(I13_1C); KX_FIELD(I13_2C);
    KX_FIELD(I13_3C); KX_FIELD(I13_4C); KX_FIELD(I13_5C);
    return t;
  }();
  return table.find(result, name);
}

#undef KX_FIELD

const std::vector<std::string>& summary_result_fields() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> v;
    for (int n = 1; n <= 24; ++n) {
      v.push_back("I3_" + two_digits(n));
      if (n <= 10) v.push_back("I4_" + two_digits(n));
    }
    v.push_back("DESPINST");
    v.push_back("DESPALIM");
    for (int n = 1; n <= 50; ++n) v.push_back("I13_" + two_digits(n));
    for (const char* name : {"QTD_QUOTA", "CARNEINSS", "CARNEDEPEN", "EMPREST", "DESPDECLA",
                             "DESPADRAO"})
      v.push_back(name);
    return v;
  }();
  return names;
}

const std::vector<std::string>& registry_result_fields() {
  static const std::vector<std::string> names = {
      "CGCPAGADOR", "I9_2",   "I9_3",   "DEBITAUT", "SALDO",  "INDGAS", "IMPPGRE",
      "I13_20",     "I13_24", "I13_27", "I13_28",   "I13_35", "I13_44", "I13_45",
      "EXGSUSP",    "QTD_QUOTA", "I13_1C", "I13_2C", "I13_3C", "I13_4C", "I13_5C"};
  return names;
}

}  // namespace kx::tax
