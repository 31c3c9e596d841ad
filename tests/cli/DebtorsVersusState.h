#pragma once
// Compares `zorvit debtors --format csv` with `zorvit state ID --format json`
// of each contract it lists, figure by figure, and its totals with the sums
// of its lines.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "common/Csv.h"
#include "state/DebtorTable.h"
#include "tests/cli/RunZorvit.h"

namespace zrv::test {

using Figures = std::map<std::string, std::string>;

// The "totals" object of a state's JSON, by key.
inline Figures StateTotals(const std::string& json) {
  Figures totals;
  const size_t at = json.find("\"totals\": {");
  if (at == std::string::npos) return totals;
  const std::string part = json.substr(at, json.find('}', at) - at);
  static const std::regex pair("\"([a-z_]+)\": ([-0-9.]+)");
  for (std::sregex_iterator it(part.begin(), part.end(), pair), end; it != end; ++it)
    totals[(*it)[1]] = (*it)[2];
  return totals;
}

// The figures of the list's CSV records of `section`, by column key.
inline std::vector<Figures> ListRecords(const std::string& csvText, const std::string& section) {
  std::vector<csv::Record> records;
  int errorLine = 0;
  EXPECT_TRUE(csv::Parse(csvText, ',', records, errorLine)) << errorLine;
  const auto& columns = state::DebtorColumns();
  std::vector<Figures> lines;
  bool header = true;  // the first record of the lines names the columns
  for (const csv::Record& r : records) {
    if (r.fields.empty() || r.fields[0] != section) continue;
    if (section == "длъжник" && header) {
      header = false;
      continue;
    }
    Figures line;
    for (size_t c = 0; c < columns.size() && c + 1 < r.fields.size(); ++c)
      line[columns[c].key] = r.fields[c + 1];
    lines.push_back(line);
  }
  return lines;
}

// Runs the list at `date` and the state of each contract it lists; expects
// `listed` lines, each equal to its state, and totals equal to their sums.
// Gives each state's JSON by contract id.
inline std::map<std::string, std::string> ExpectListAsStates(const std::string& folder,
                                                             const std::string& database,
                                                             const std::string& date,
                                                             size_t listed) {
  std::map<std::string, std::string> states;
  const ZorvitResult list = RunZorvit(folder, database, "debtors --format csv --date " + date);
  EXPECT_EQ(list.exitCode, 0) << list.err;
  const std::vector<Figures> lines = ListRecords(list.out, "длъжник");
  EXPECT_EQ(lines.size(), listed) << list.out;
  std::map<std::string, long long> sums;
  for (const Figures& line : lines) {
    const ZorvitResult state =
        RunZorvit(folder, database, "state " + line.at("id") + " --format json --date " + date);
    EXPECT_EQ(state.exitCode, 0) << state.err;
    states[line.at("id")] = state.out;
    const Figures totals = StateTotals(state.out);
    for (const auto& column : state::DebtorColumns()) {
      if (column.kind == workbook::ColumnKind::Text || !column.summed) continue;
      if (!totals.count(column.key)) {
        ADD_FAILURE() << column.key << " missing: " << state.out;
        continue;
      }
      EXPECT_EQ(line.at(column.key), totals.at(column.key))
          << column.key << " of contract " << line.at("id");
      sums[column.key] += std::llround(std::stod(line.at(column.key)) * 100);
    }
  }
  const std::vector<Figures> total = ListRecords(list.out, "общо");
  EXPECT_EQ(total.size(), 1u);
  if (total.size() != 1) return states;
  for (const auto& [key, cents] : sums)
    EXPECT_EQ(std::llround(std::stod(total[0].at(key)) * 100), cents) << key;
  return states;
}

}  // namespace zrv::test
