// kxdbf create FILE NAME:TYPE[:WIDTH[:DEC]]...
#include "dbf/schema.h"
#include "dbf/table.h"
#include "tools/verbs.h"

namespace kx::tools {

int verb_create(const Args& args) {
  std::vector<dbf::Field> fields;
  for (std::size_t i = 1; i < args.positional().size(); ++i) {
    auto field = dbf::parse_field_spec(args.at(i));
    if (!field) throw UsageError("\"" + args.at(i) + "\" is not a field (NAME:TYPE[:WIDTH[:DEC]])");
    fields.push_back(std::move(*field));
  }
  dbf::Schema schema;
  try {
    schema = dbf::Schema(std::move(fields));
  } catch (const std::invalid_argument& e) {
    throw UsageError(e.what());
  }
  dbf::Table::create(args.at(0), schema);
  return 0;
}

}  // namespace kx::tools
