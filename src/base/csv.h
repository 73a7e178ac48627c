// CSV as the program reads and writes it: fields separated by ',', a field that holds a comma, a
// quote or a line break is enclosed in double quotes and a quote inside it is doubled. Lines end in
// LF (CR LF is read too). The text is passed through as bytes (the program's CSV files are UTF-8).
#pragma once

#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

class CsvError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CsvReader {
 public:
  explicit CsvReader(std::istream& in) : in_(*in.rdbuf()) {}

  // Reads the next record into `fields`; false at the end of the input. Empty lines are skipped
  // (a record of one empty field is written as ""). A UTF-8 byte order mark at the start is
  // skipped. Throws CsvError naming the line on a quote left open at the end of the input or
  // text after a closing quote.
  bool next(std::vector<std::string>& fields);

  // Line (1-based) on which the record last returned by next() began.
  int line() const { return record_line_; }

 private:
  std::streambuf& in_;
  int line_ = 1;
  int record_line_ = 0;
  bool started_ = false;
};

class CsvWriter {
 public:
  explicit CsvWriter(std::ostream& out) : out_(out) {}
  void write(const std::vector<std::string>& fields);

 private:
  std::ostream& out_;
};

// One field as it is written: quoted when it holds ',', '"', CR or LF.
std::string csv_field(std::string_view value);

}  // namespace kx
