#include "base/csv.h"

namespace kx {

namespace {
constexpr int kEof = std::char_traits<char>::eof();
}

bool CsvReader::next(std::vector<std::string>& fields) {
  fields.clear();
  if (!started_) {
    started_ = true;
    static constexpr char kBom[] = "\xEF\xBB\xBF";
    int i = 0;
    while (i < 3 && in_.sgetc() == static_cast<unsigned char>(kBom[i])) {
      in_.sbumpc();
      ++i;
    }
    if (i != 0 && i != 3) throw CsvError("line 1: broken byte order mark");
  }
  // Skip empty lines.
  for (;;) {
    int c = in_.sgetc();
    if (c == kEof) return false;
    if (c == '\n') {
      in_.sbumpc();
      ++line_;
    } else if (c == '\r') {
      in_.sbumpc();
      if (in_.sgetc() == '\n') {
        in_.sbumpc();
        ++line_;
      }
    } else {
      break;
    }
  }
  record_line_ = line_;
  std::string field;
  for (;;) {
    int c = in_.sbumpc();
    if (c == '"' && field.empty()) {
      // Quoted field: up to the closing quote; "" is one quote.
      for (;;) {
        c = in_.sbumpc();
        if (c == kEof)
          throw CsvError("line " + std::to_string(record_line_) + ": quoted field not closed");
        if (c == '"') {
          if (in_.sgetc() != '"') break;
          in_.sbumpc();
        }
        if (c == '\n') ++line_;
        field.push_back(static_cast<char>(c));
      }
      c = in_.sbumpc();
      if (c == '\r' && in_.sgetc() == '\n') c = in_.sbumpc();
      if (c != ',' && c != '\n' && c != kEof)
        throw CsvError("line " + std::to_string(line_) + ": text after a closing quote");
      fields.push_back(std::move(field));
      field.clear();
      if (c == ',') continue;
      if (c == '\n') ++line_;
      return true;
    }
    if (c == ',') {
      fields.push_back(std::move(field));
      field.clear();
      continue;
    }
    if (c == '\r' && in_.sgetc() == '\n') c = in_.sbumpc();
    if (c == '\n' || c == kEof) {
      if (c == '\n') ++line_;
      fields.push_back(std::move(field));
      return true;
    }
    field.push_back(static_cast<char>(c));
  }
}

std::string csv_field(std::string_view value) {
  if (value.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(value);
  std::string out = "\"";
  for (char c : value) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

void CsvWriter::write(const std::vector<std::string>& fields) {
  if (fields.size() == 1 && fields[0].empty()) {
    out_ << "\"\"\n";
    return;
  }
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) out_ << ',';
    out_ << csv_field(fields[i]);
  }
  out_ << '\n';
}

}  // namespace kx
