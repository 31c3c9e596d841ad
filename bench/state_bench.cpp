// Time to load a contract and compute its state, per contract.
//
//   state_bench [CONTRACTS]      (default 1000)
//
// Makes a throw-away embedded database with CONTRACTS contracts of 36 monthly
// periods and 24 payments each (one detail per payment), then loads every
// contract and computes its state at the contract's end, twice: with payments
// that carry no paid interest, and with every payment carrying paid interest
// (each such payment spreads it over the periods through a working copy of the
// contract).

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "app/DatabaseSetup.h"
#include "common/Dates.h"
#include "platform/db/Firebird.h"
#include "platform/db/Transaction.h"
#include "schedule/DocInfo.h"

namespace {

using namespace zrv;
using Clock = std::chrono::steady_clock;

constexpr int kPeriods = 36;
constexpr int kPayments = 24;

std::unique_ptr<db::Query> Prepared(db::Connection& c, const char* sql) {
  auto q = c.NewQuery();
  q->SetSQL(sql);
  return q;
}

// Contracts firstId .. firstId + count - 1 from 01.01.2022 to 31.12.2024 at
// 100.00 a month, paid month by month on the 5th; with `paidInterest` each
// payment also pays 0.50 interest.
void Fill(db::Connection& c, int firstId, int count, bool paidInterest) {
  db::OwnTransaction tx(c);
  auto doc = Prepared(
      c,
      "insert into documents (doc_id, doc_type, doc_datastart, doc_datastop, "
      "doc_initsum, da_valuta, doc_free, doc_handrentinfo, da_rf3) values "
      "(:id, 1002, :start, :stop, 0, 0, 'F', 'F', 0)");
  auto annex = Prepared(
      c,
      "insert into Anecs (AN_ID, AN_NUM, AN_PRICE, AN_DTSTART, AN_DTSTOP, "
      "AN_LTYPE, AN_LPERCENT, AN_LMAX, AN_DDS, AN_PAYDAY, AN_FREEDATE) values "
      "(:id, 1, 100, :start, :stop, 2, 10, 0, 1201, 10, :start)");
  auto rent = Prepared(
      c,
      "insert into RentsInfo (RI_DOCID, RI_YEAR, RI_MONTH, RI_DAYS, RI_PRICE, "
      "RI_DTSTART, RI_CARRIED) values (:id, :y, :m, :days, 100, :start, 0)");
  auto pay = Prepared(
      c,
      "insert into Payment (P_ID, P_NUM, P_DATA, P_VAL, P_LIXVA, P_LDATE, "
      "P_PAYTYPE, P_STATUS) values (:id, :num, :data, 100, :lixva, :ldate, 2, "
      "1)");
  auto detail = Prepared(
      c,
      "insert into PayDetails (PD_ID, PD_NUM, PD_YEAR, PD_MONTH, PD_SUM) "
      "values (:id, :num, :y, :m, 100)");
  const TDate start = EncodeDate(2022, 1, 1), stop = EncodeDate(2024, 12, 31);
  for (int id = firstId; id < firstId + count; ++id) {
    doc->SetInteger("id", id);
    doc->SetDateTime("start", start);
    doc->SetDateTime("stop", stop);
    doc->Execute();
    annex->SetInteger("id", id);
    annex->SetDateTime("start", start);
    annex->SetDateTime("stop", stop);
    annex->Execute();
    for (int p = 0; p < kPeriods; ++p) {
      const int y = 2022 + p / 12, m = p % 12 + 1;
      rent->SetInteger("id", id);
      rent->SetInteger("y", y);
      rent->SetInteger("m", m);
      rent->SetInteger("days", DaysInMonth(y, m));
      rent->SetDateTime("start", EncodeDate(y, m, 1));
      rent->Execute();
      if (p >= kPayments) continue;
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

// Loads and computes every contract; prints the time per contract.
void Measure(db::Connection& c, const char* label, int firstId, int count) {
  schedule::BaseRateTable rates;
  schedule::CurrencyFactorTable factors;
  factors.Set(0, 1);
  double loading = 0, computing = 0, check = 0;
  for (int id = firstId; id < firstId + count; ++id) {
    schedule::TDocInfo info(c, rates, factors);
    const auto t0 = Clock::now();
    info.LoadContract(id);
    const auto t1 = Clock::now();
    info.ComputeState(true, true, EncodeDate(2024, 12, 31),
                      EncodeDate(2024, 12, 31));
    const auto t2 = Clock::now();
    loading += std::chrono::duration<double, std::milli>(t1 - t0).count();
    computing += std::chrono::duration<double, std::milli>(t2 - t1).count();
    check += info.Summary.Due;
  }
  std::printf(
      "%-34s %8.3f ms per contract (load %.3f, compute %.3f); %d contracts, "
      "due total %.2f\n",
      label, (loading + computing) / count, loading / count, computing / count,
      count, check);
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
  if (count <= 0) {
    std::cerr << "Usage: state_bench [CONTRACTS]\n";
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() /
                          ("zrv-state-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const std::string path = (folder / "bench.fdb").string();
  int rc = 0;
  try {
    const db::ConnectParams params{"SYSDBA", "", path};
    app::CreatePropertyDatabase(params, false);
    auto c = db::MakeFirebirdConnection();
    c->Open(params);
    const auto f0 = Clock::now();
    Fill(*c, 1, count, false);
    Fill(*c, count + 1, count, true);
    std::printf(
        "filled %d contracts (%d periods, %d payments each) in %.1f s\n",
        2 * count, kPeriods, kPayments,
        std::chrono::duration<double>(Clock::now() - f0).count());
    Measure(*c, "payments without paid interest:", 1, count);
    Measure(*c, "every payment with paid interest:", count + 1, count);
    c->Close();
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    rc = 1;
  }
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return rc;
}
