// Copying and appending rows between tables by field name.
#include "dbf/transfer.h"

#include "base/text.h"

namespace kx::dbf {
namespace {

// A pair of fields of the same name in destination and source.
struct Pair {
  const Field* to;
  const Field* from;
};

void note(TransferResult& result, uint32_t recno, const Field& f, const std::string& what) {
  result.problems.push_back("record " + std::to_string(recno) + ": field " + f.name + ": " + what);
}

// Appends `bytes` to `dest`, then the memo texts, and lets the new record go again.
void append_row(Table& dest, const std::string& bytes,
                const std::vector<std::pair<const Field*, std::string>>& memos) {
  const uint32_t r = dest.append(bytes);
  for (const auto& [f, text] : memos) dest.set_memo(f->name, text);
  dest.commit();
  if (dest.mode() == OpenMode::shared) dest.unlock_record(r);
}

}  // namespace

TransferResult copy_to(Table& source, const std::string& dest, const CopyOptions& options) {
  Table::create(dest, source.schema());
  Table out = Table::open(dest, {OpenMode::exclusive}, source.clock());
  TransferResult result;
  std::vector<const Field*> memo_fields;
  for (const Field& f : source.schema().fields())
    if (f.type == FieldType::memo) memo_fields.push_back(&f);
  for (source.go_top(); !source.eof(); source.skip()) {
    const RecordView row = source.record();
    if (options.while_filter && !options.while_filter(row)) break;
    if (options.for_filter && !options.for_filter(row)) continue;
    std::string bytes(row.bytes());
    std::vector<std::pair<const Field*, std::string>> memos;
    for (const Field* f : memo_fields) {
      bytes.replace(f->offset, f->width, std::string(f->width, ' '));
      if (std::string text = source.get_memo(f->name); !text.empty()) memos.emplace_back(f, text);
    }
    append_row(out, bytes, memos);
    ++result.rows;
  }
  out.close();
  return result;
}

TransferResult append_from(Table& dest, Table& source, const Table::Filter& filter) {
  TransferResult result;
  std::vector<Pair> pairs;
  for (const Field& to : dest.schema().fields()) {
    const Field* from = source.schema().find(to.name);
    if (!from) continue;
    if (from->type != to.type) {
      result.problems.push_back("field " + to.name + ": types differ, not copied");
      continue;
    }
    pairs.push_back({&to, from});
  }
  for (source.go_top(); !source.eof(); source.skip()) {
    const RecordView row = source.record();
    if (filter && !filter(row)) continue;
    std::string bytes = dest.blank_record();
    bytes[0] = row.deleted() ? '*' : ' ';
    std::vector<std::pair<const Field*, std::string>> memos;
    for (const Pair& p : pairs) {
      switch (p.to->type) {
        case FieldType::character: put_text(bytes, *p.to, text::rtrim(row.text(*p.from))); break;
        case FieldType::numeric:
          try {
            put_number(bytes, *p.to, row.number(*p.from));
          } catch (const FieldOverflow&) {
            ++result.overflows;
            note(result, source.recno(), *p.to,
                 "value " + row.number(*p.from).str() + " does not fit N " +
                     std::to_string(p.to->width) + "," + std::to_string(p.to->decimals));
          }
          break;
        case FieldType::date: put_date(bytes, *p.to, row.date(*p.from)); break;
        case FieldType::logical:
          if (!text::is_blank(row.raw(*p.from))) put_logical(bytes, *p.to, row.logical(*p.from));
          break;
        case FieldType::memo:
          if (std::string text = source.get_memo(p.from->name); !text.empty())
            memos.emplace_back(p.to, text);
          break;
      }
    }
    append_row(dest, bytes, memos);
    ++result.rows;
  }
  return result;
}

}  // namespace kx::dbf
