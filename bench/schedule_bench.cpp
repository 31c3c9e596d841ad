// Writing a contract's monthly schedule: one INSERT per month (as
// schedule/store/ScheduleStore writes it) against all of a contract's months
// in one EXECUTE BLOCK, on throw-away embedded databases, forced writes off and
// on.
//
//   schedule_bench [CONTRACTS] [MONTHS] [ROUNDS]   (default 2000 24 5)
//
// Each round writes CONTRACTS schedules of MONTHS months both ways, each way
// into a new database, in the order of the round (the two ways take turns
// going first, so a machine whose speed drifts moves both), in transactions of
// 100 contracts, as rows committed in batches would. It prints the median time
// of each way, the median of the rounds' ratios and the median time saved per
// contract, to be set against the import's time per contract (import_bench).

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/DatabaseSetup.h"
#include "common/Text.h"
#include "platform/db/Firebird.h"

namespace {

using namespace zrv;
using Clock = std::chrono::steady_clock;

constexpr int kContractsPerTransaction = 100;

// The store's statement, unchanged.
const char* const kInsertRent =
    "INSERT INTO RENTSINFO (RI_DOCID, RI_YEAR, RI_MONTH, RI_DAYS, RI_PRICE, "
    "RI_DTSTART, "
    "RI_CARRIED) \rVALUES (:docid, :year, :month, :days, :price, :dtstart, "
    ":carried)";

// One EXECUTE BLOCK inserting `months` rows, parameters :docid and, for month
// i, :y<i>, :m<i>, :d<i>, :p<i>, :s<i>, :c<i>. The body names the block's
// variables as ": name", which the engine reads as ":name" but the program's
// parameter layer leaves alone (":name" would become a marker of its own).
std::string BlockText(int months) {
  std::string head = "EXECUTE BLOCK (docid INTEGER = :docid";
  std::string body = " AS BEGIN\n";
  for (int i = 0; i < months; ++i) {
    const std::string n = std::to_string(i);
    head += ", y" + n + " INTEGER = :y" + n + ", m" + n + " INTEGER = :m" + n + ", d" + n +
            " INTEGER = :d" + n + ", p" + n + " DOUBLE PRECISION = :p" + n + ", s" + n +
            " TIMESTAMP = :s" + n + ", c" + n + " DOUBLE PRECISION = :c" + n;
    body +=
        "INSERT INTO RENTSINFO (RI_DOCID, RI_YEAR, RI_MONTH, RI_DAYS, "
        "RI_PRICE, RI_DTSTART, RI_CARRIED) VALUES (: docid, : y" +
        n + ", : m" + n + ", : d" + n + ", : p" + n + ", : s" + n + ", : c" + n + ");\n";
  }
  return head + ")" + body + "END";
}

// The values of month i of contract `doc`, the same both ways.
struct Month {
  int year, month, days;
  double price, start, carried;
};
Month MonthOf(int doc, int i) {
  return {2020 + i / 12, 1 + i % 12, 30, 100.0 + doc % 7, 43831.0 + 30 * i, 0.0};
}

// Writes the schedules and gives the seconds it took.
double Write(const std::string& path, bool forcedWrites, bool block, int contracts, int months) {
  const db::ConnectParams params{"SYSDBA", "masterkey", path};
  app::CreatePropertyDatabase(params, forcedWrites);
  auto connection = db::MakeFirebirdConnection();
  connection->Open(params);
  const std::string blockText = BlockText(months);
  const auto began = Clock::now();
  std::unique_ptr<db::Transaction> tx;
  for (int doc = 1; doc <= contracts; ++doc) {
    if (!tx) tx = connection->Begin(db::Isolation::kSnapshot);
    auto query = tx->NewQuery();
    if (block) {
      query->SetSQL(blockText);
      query->SetInteger("docid", doc);
      for (int i = 0; i < months; ++i) {
        const Month m = MonthOf(doc, i);
        const std::string n = std::to_string(i);
        query->SetInteger("y" + n, m.year);
        query->SetInteger("m" + n, m.month);
        query->SetInteger("d" + n, m.days);
        query->SetFloat("p" + n, m.price);
        query->SetDateTime("s" + n, m.start);
        query->SetFloat("c" + n, m.carried);
      }
      query->Execute();
    } else {
      for (int i = 0; i < months; ++i) {
        const Month m = MonthOf(doc, i);
        query->SetSQL(kInsertRent);
        query->SetInteger("docid", doc);
        query->SetInteger("year", m.year);
        query->SetInteger("month", m.month);
        query->SetInteger("days", m.days);
        query->SetFloat("price", m.price);
        query->SetDateTime("dtstart", m.start);
        query->SetFloat("carried", m.carried);
        query->Execute();
      }
    }
    if (doc % kContractsPerTransaction == 0 || doc == contracts) {
      tx->Commit();
      tx.reset();
    }
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - began).count();
  auto check = connection->NewQuery();
  check->SetSQL("SELECT COUNT(*) FROM RENTSINFO");
  check->Open();
  const int rows = check->FieldAt(0).AsInteger();
  connection->Close();
  std::filesystem::remove(path);
  if (rows != contracts * months) throw std::runtime_error("rows written: " + std::to_string(rows));
  return seconds;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Measure(const std::string& folder, bool forcedWrites, int contracts, int months, int rounds) {
  std::vector<double> perMonth, blocks, ratios, saved;
  for (int r = 0; r < rounds; ++r) {
    double each[2] = {0, 0};
    for (int k = 0; k < 2; ++k) {
      const bool block = (k + r) % 2 == 1;
      each[block] = Write(folder + "/schedule.fdb", forcedWrites, block, contracts, months);
    }
    perMonth.push_back(each[0]);
    blocks.push_back(each[1]);
    ratios.push_back(each[1] / each[0]);
    saved.push_back((each[0] - each[1]) / contracts);
  }
  std::cout << "forced writes " << (forcedWrites ? "on " : "off") << ": " << contracts
            << " contracts x " << months << " months: one INSERT per month "
            << Format("%.2f", Median(perMonth)) << " s, one EXECUTE BLOCK "
            << Format("%.2f", Median(blocks)) << " s (medians of " << rounds
            << "); block / per month = " << Format("%.2f", Median(ratios)) << " (from "
            << Format("%.2f", *std::min_element(ratios.begin(), ratios.end())) << " to "
            << Format("%.2f", *std::max_element(ratios.begin(), ratios.end())) << "), saved "
            << Format("%.3f", 1000 * Median(saved)) << " ms per contract" << std::endl;
}

}  // namespace

int main(int argc, char** argv) {
  const int contracts = argc > 1 ? std::atoi(argv[1]) : 2000;
  const int months = argc > 2 ? std::atoi(argv[2]) : 24;
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  if (contracts < 1 || months < 1) {
    std::cerr << "schedule_bench [CONTRACTS] [MONTHS] [ROUNDS]\n";
    return 2;
  }
  char pattern[] = "/tmp/zrv-schedule-bench-XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  const std::string folder = pattern;
  try {
    Measure(folder, false, contracts, months, rounds);
    Measure(folder, true, contracts, months, rounds);
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    std::filesystem::remove_all(folder);
    return 1;
  }
  std::filesystem::remove_all(folder);
  return 0;
}
