// Time to load a contract and compute its state, per contract, and how it
// grows with the contract's length.
//
//   state_bench [CONTRACTS]      (default 1000)
//
// Makes a throw-away embedded database with CONTRACTS short contracts (36
// monthly periods, 24 payments) and CONTRACTS / 10 long ones (360 periods, 360
// payments), each payment with one detail, every contract in two forms: with
// payments that carry no paid interest, and with every payment carrying paid
// interest (each such payment spreads it over the periods it was earned on).
// Then loads every contract and computes its state at the contract's end, the
// short and the long ones in alternating rounds, and prints the median time per
// contract of each and the long one's time as a multiple of the short one's.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/DatabaseSetup.h"
#include "bench/BenchUsage.h"
#include "common/Dates.h"
#include "platform/db/Firebird.h"
#include "platform/db/Transaction.h"
#include "state/DocInfo.h"

namespace {

using namespace zrv;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 5;
constexpr const char* kUsage = "Usage: state_bench [CONTRACTS]\n";
constexpr const char* kBadArgs =
    "state_bench: CONTRACTS is a whole number from 1, and the only argument";

// One shape of contract: its length in months and the payments made on it.
struct Shape {
  const char* name;
  int periods;
  int payments;
};
constexpr Shape kShort{"36 periods, 24 payments", 36, 24};
constexpr Shape kLong{"360 periods, 360 payments", 360, 360};

std::unique_ptr<db::Query> Prepared(db::Connection& c, const char* sql) {
  auto q = c.NewQuery();
  q->SetSQL(sql);
  return q;
}

// Contracts firstId .. firstId + count - 1 of `shape`, ending 31.12.2024, at
// 100.00 a month, paid month by month on the 5th; with `paidInterest` each
// payment also pays 0.50 interest.
void Fill(db::Connection& c, int firstId, int count, const Shape& shape, bool paidInterest) {
  db::OwnTransaction tx(c);
  auto doc = Prepared(c,
                      "insert into documents (doc_id, doc_type, doc_datastart, doc_datastop, "
                      "doc_initsum, da_valuta, doc_free, doc_handrentinfo, da_rf3) values "
                      "(:id, 1002, :start, :stop, 0, 0, 'F', 'F', 0)");
  auto annex = Prepared(c,
                        "insert into Anecs (AN_ID, AN_NUM, AN_PRICE, AN_DTSTART, AN_DTSTOP, "
                        "AN_LTYPE, AN_LPERCENT, AN_LMAX, AN_DDS, AN_PAYDAY, AN_FREEDATE) values "
                        "(:id, 1, 100, :start, :stop, 2, 10, 0, 1201, 10, :start)");
  auto rent = Prepared(c,
                       "insert into RentsInfo (RI_DOCID, RI_YEAR, RI_MONTH, RI_DAYS, RI_PRICE, "
                       "RI_DTSTART, RI_CARRIED) values (:id, :y, :m, :days, 100, :start, 0)");
  auto pay = Prepared(c,
                      "insert into Payment (P_ID, P_NUM, P_DATA, P_VAL, P_LIXVA, P_LDATE, "
                      "P_PAYTYPE, P_STATUS) values (:id, :num, :data, 100, :lixva, :ldate, 2, "
                      "1)");
  auto detail = Prepared(c,
                         "insert into PayDetails (PD_ID, PD_NUM, PD_YEAR, PD_MONTH, PD_SUM) "
                         "values (:id, :num, :y, :m, 100)");
  const int firstYear = 2025 - shape.periods / 12;
  const TDate start = EncodeDate(firstYear, 1, 1), stop = EncodeDate(2024, 12, 31);
  for (int id = firstId; id < firstId + count; ++id) {
    doc->SetInteger("id", id);
    doc->SetDateTime("start", start);
    doc->SetDateTime("stop", stop);
    doc->Execute();
    annex->SetInteger("id", id);
    annex->SetDateTime("start", start);
    annex->SetDateTime("stop", stop);
    annex->Execute();
    for (int p = 0; p < shape.periods; ++p) {
      const int y = firstYear + p / 12, m = p % 12 + 1;
      rent->SetInteger("id", id);
      rent->SetInteger("y", y);
      rent->SetInteger("m", m);
      rent->SetInteger("days", DaysInMonth(y, m));
      rent->SetDateTime("start", EncodeDate(y, m, 1));
      rent->Execute();
      if (p >= shape.payments) continue;
      pay->SetInteger("id", id);
      pay->SetInteger("num", p + 1);
      pay->SetDateTime("data", EncodeDate(y, m, 5));
      pay->SetFloat("lixva", paidInterest ? 0.5 : 0);
      if (paidInterest) {
        pay->SetDateTime("ldate", EncodeDate(y, m, 4));
      } else {
        pay->SetNull("ldate");
      }
      pay->Execute();
      detail->SetInteger("id", id);
      detail->SetInteger("num", p + 1);
      detail->SetInteger("y", y);
      detail->SetInteger("m", m);
      detail->Execute();
    }
  }
  tx.Commit();
}

// Milliseconds per contract of one pass over contracts firstId .. firstId +
// count - 1: loading and computing together, and computing alone.
struct Times {
  double total = 0;
  double computing = 0;
};

Times Measure(db::Connection& c, int firstId, int count, double& check) {
  state::StateTables tables;
  tables.currencyFactors.Set(0, 1);
  double loading = 0, computing = 0;
  check = 0;
  for (int id = firstId; id < firstId + count; ++id) {
    state::TDocInfo info(c, tables);
    const auto t0 = Clock::now();
    info.LoadContract(id);
    const auto t1 = Clock::now();
    info.ComputeState(true, true, EncodeDate(2024, 12, 31), EncodeDate(2024, 12, 31));
    const auto t2 = Clock::now();
    loading += std::chrono::duration<double, std::milli>(t1 - t0).count();
    computing += std::chrono::duration<double, std::milli>(t2 - t1).count();
    check += info.Summary.Due + info.Summary.InterestTotal;
  }
  return {(loading + computing) / count, computing / count};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The contracts of one shape in one form.
struct Group {
  const Shape& shape;
  int firstId;
  int count;
  std::vector<double> total, computing;
  double check = 0;
};

// Alternating rounds over the short and the long group of one form, so that
// the load of a shared machine falls on both alike; prints their medians and
// the long group's time as a multiple of the short one's.
void Compare(db::Connection& c, const char* form, Group& shortGroup, Group& longGroup) {
  for (int round = 0; round < kRounds; ++round) {
    for (Group* g : {&shortGroup, &longGroup}) {
      const Times t = Measure(c, g->firstId, g->count, g->check);
      g->total.push_back(t.total);
      g->computing.push_back(t.computing);
    }
  }
  std::printf("%s:\n", form);
  for (const Group* g : {&shortGroup, &longGroup}) {
    std::printf(
        "  %-26s %8.3f ms per contract (compute %.3f); %d contracts, "
        "due and interest total %.2f\n",
        g->shape.name, Median(g->total), Median(g->computing), g->count, g->check);
  }
  std::printf("  360/360 ÷ 36/24: %.1f× (computing alone %.1f×)\n",
              Median(longGroup.total) / Median(shortGroup.total),
              Median(longGroup.computing) / Median(shortGroup.computing));
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (bench::AsksForHelp(args)) return bench::ShowHelp(kUsage);
  int count = 1000;
  if (args.size() > 1 || (args.size() == 1 && !bench::ParseCount(args[0], 1, count)))
    return bench::RefuseArgs(kUsage, kBadArgs);
  const int longCount = std::max(count / 10, 1);
  namespace fs = std::filesystem;
  const fs::path folder =
      fs::temp_directory_path() / ("zrv-state-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const std::string path = (folder / "bench.fdb").string();
  int rc = 0;
  try {
    const db::ConnectParams params{"SYSDBA", "", path};
    app::CreatePropertyDatabase(params, false);
    auto c = db::MakeFirebirdConnection();
    c->Open(params);
    const auto f0 = Clock::now();
    // Ids: short without and with paid interest, then long without and with.
    Group groups[] = {{kShort, 1, count, {}, {}},
                      {kShort, count + 1, count, {}, {}},
                      {kLong, 2 * count + 1, longCount, {}, {}},
                      {kLong, 2 * count + longCount + 1, longCount, {}, {}}};
    for (int i = 0; i < 4; ++i)
      Fill(*c, groups[i].firstId, groups[i].count, groups[i].shape, i % 2 == 1);
    std::printf("filled %d + %d contracts in %.1f s; medians of %d rounds\n", 2 * count,
                2 * longCount, std::chrono::duration<double>(Clock::now() - f0).count(), kRounds);
    Compare(*c, "payments without paid interest", groups[0], groups[2]);
    Compare(*c, "every payment with paid interest", groups[1], groups[3]);
    c->Close();
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    rc = 1;
  }
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return rc;
}
