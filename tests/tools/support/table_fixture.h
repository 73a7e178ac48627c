// A temporary folder with helpers to drive kxdbf on tables in it.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "../../os/temp_folder.h"
#include "process.h"
#include "base/csv.h"

namespace kx::tools::testing {

using Rows = std::vector<std::vector<std::string>>;

inline Rows parse_csv(const std::string& text) {
  std::istringstream in(text);
  CsvReader reader(in);
  Rows rows;
  std::vector<std::string> fields;
  while (reader.next(fields)) rows.push_back(fields);
  return rows;
}

inline std::string to_csv(const Rows& rows) {
  std::ostringstream out;
  CsvWriter writer(out);
  for (const auto& r : rows) writer.write(r);
  return out.str();
}

class KxdbfTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return folder_ / name; }

  // Runs kxdbf and expects exit status 0.
  std::string ok(const std::vector<std::string>& args, const std::string& input = "") {
    Result r = kxdbf(args, input);
    EXPECT_EQ(r.status, 0) << "kxdbf " << args.at(0) << ": " << r.err;
    return r.out;
  }
  Rows dump(const std::string& table, std::vector<std::string> extra = {}) {
    std::vector<std::string> args{"dump", table};
    args.insert(args.end(), extra.begin(), extra.end());
    return parse_csv(ok(args));
  }
  void expect_check_passes(const std::string& table) {
    Result r = kxdbf({"check", table});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
  }

  os::testing::TempFolder folder_;
};

}  // namespace kx::tools::testing
