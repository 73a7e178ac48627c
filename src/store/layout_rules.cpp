#include "store/layout_rules.h"

#include <stdexcept>
#include <utility>

namespace kx::store::rules {

dbf::Field C(std::string name, int width) {
  return {std::move(name), dbf::FieldType::character, width, 0};
}
dbf::Field N(std::string name, int width, int decimals) {
  return {std::move(name), dbf::FieldType::numeric, width, decimals};
}
dbf::Field D(std::string name) { return {std::move(name), dbf::FieldType::date, 8, 0}; }
dbf::Field L(std::string name) { return {std::move(name), dbf::FieldType::logical, 1, 0}; }
dbf::Field M(std::string name) { return {std::move(name), dbf::FieldType::memo, 10, 0}; }

Fields money(std::initializer_list<const char*> names) {
  Fields out;
  for (const char* name : names) out.push_back(N(name, 12, 2));
  return out;
}

Fields expand(const Fields& pattern, int from, int to, int digits, char mark) {
  Fields out;
  for (int i = from; i <= to; ++i) {
    std::string counter = std::to_string(i);
    if (static_cast<int>(counter.size()) < digits) counter.insert(0, digits - counter.size(), '0');
    for (const dbf::Field& f : pattern) {
      const auto at = f.name.find(mark);
      if (at == std::string::npos) throw std::logic_error("field family without a counter: " + f.name);
      dbf::Field copy = f;
      copy.name.replace(at, 1, counter);
      out.push_back(std::move(copy));
    }
  }
  return out;
}

Fields join(std::initializer_list<Fields> parts) {
  Fields out;
  for (const Fields& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

}  // namespace kx::store::rules
