// The month's debtors read many contracts at once and change nothing: each
// line holds the figures of the contract's own state to the cent, and every
// table keeps its rows.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/Rounding.h"
#include "common/Text.h"
#include "state/DebtorList.h"
#include "state/DocInfo.h"
#include "state/store/DebtorsStore.h"
#include "state/store/StateTablesStore.h"
#include "tests/support/GeneratedContracts.h"
#include "tests/support/TestDatabase.h"

namespace zrv::state {
namespace {

constexpr int kContracts = 300;

TDate D(int d, int m, int y) { return EncodeDate(y, m, d); }

// The figures as the state's totals print them.
std::vector<std::string> Texts(const DueFigures& f) {
  std::vector<std::string> texts = {std::to_string(f.periodsDue)};
  for (double amount : {f.due, f.paidAhead, f.vatDue, f.interestDue, f.interestTotal, f.advance,
                        f.dueBgn, f.vatBgn, f.interestBgn})
    texts.push_back(AmountText(amount));
  return texts;
}

class DebtorListTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    db_ = new test::TestDatabase;
    test::GenerateContracts(
        db_->Connection(),
        {.firstId = 1, .count = kContracts, .periods = 30, .payments = 26, .varied = true});
  }
  static void TearDownTestSuite() {
    delete db_;
    db_ = nullptr;
  }

  // The rows of every table of the database.
  static std::map<std::string, int> RowCounts() {
    auto q = db_->Connection().NewQuery();
    q->SetSQL(
        "select trim(rdb$relation_name) from rdb$relations where "
        "rdb$system_flag = 0 and rdb$view_blr is null");
    q->Open();
    std::map<std::string, int> counts;
    for (; !q->Eof(); q->Next()) counts[q->FieldAt(0).AsString()] = 0;
    for (auto& [table, count] : counts) count = db_->ScalarInt("select count(*) from " + table);
    return counts;
  }

  static DebtorList List(TDate date, int workers = -1, ContractSelection selection = {}) {
    DebtorOptions options;
    options.date = date;
    options.workers = workers;
    options.selection = selection;
    return ReadDebtors(db_->Connection(), options);
  }

  static test::TestDatabase* db_;
};

test::TestDatabase* DebtorListTest::db_ = nullptr;

TEST_F(DebtorListTest, EachLineHoldsTheContractsStateAndNothingChanges) {
  const std::map<std::string, int> before = RowCounts();
  ASSERT_GT(before.at("PAYMENT"), 0);
  const TDate dates[] = {D(31, 12, 2025), D(15, 6, 2024)};
  std::vector<DebtorList> lists;
  for (TDate date : dates) lists.push_back(List(date));
  // One thread computes what many do, in the same order.
  const DebtorList alone = List(dates[0], 0);
  EXPECT_EQ(RowCounts(), before);

  ASSERT_EQ(alone.lines.size(), lists[0].lines.size());
  for (size_t i = 0; i < alone.lines.size(); ++i) {
    EXPECT_EQ(alone.lines[i].contract.id, lists[0].lines[i].contract.id);
    EXPECT_EQ(Texts(alone.lines[i].figures), Texts(lists[0].lines[i].figures));
  }

  // The contract's state as `zorvit state` loads it, which deletes the
  // payments the list only left out: after the lists.
  int leftOut = 0, paidAhead = 0;
  for (size_t d = 0; d < lists.size(); ++d) {
    const DebtorList& list = lists[d];
    EXPECT_EQ(list.contractsRead, kContracts);
    std::map<int32_t, const DebtorLine*> byId;
    for (const DebtorLine& line : list.lines) byId[line.contract.id] = &line;
    for (size_t i = 1; i < list.lines.size(); ++i)
      EXPECT_GE(list.lines[i - 1].figures.due, list.lines[i].figures.due);
    const StateTables tables = LoadStateTables(db_->Connection());
    DueFigures sum;
    for (int32_t id = 1; id <= kContracts; ++id) {
      TDocInfo info(db_->Connection(), tables);
      info.LoadContract(id);
      info.ComputeState(true, true, dates[d], dates[d]);
      const DueFigures state = DueFigures::Of(info.Summary);
      const auto found = byId.find(id);
      ASSERT_EQ(found != byId.end(), state.Any()) << id;
      if (found == byId.end()) continue;
      EXPECT_EQ(Texts(found->second->figures), Texts(state)) << id;
      if (d == 0) {
        EXPECT_EQ(found->second->contract.unlinkedPayments, info.DeletedPayments) << id;
        leftOut += info.DeletedPayments;
      }
      paidAhead += state.paidAhead > 0;
      sum.Add(state);
    }
    EXPECT_EQ(Texts(list.totals), Texts(sum));
  }
  // The contracts hold what the comparison is about.
  EXPECT_GT(leftOut, 0);
  EXPECT_GT(paidAhead, 0);
  EXPECT_GT(lists[0].totals.interestTotal, lists[0].totals.interestDue);
  EXPECT_GT(lists[0].totals.dueBgn, lists[0].totals.due);
  EXPECT_EQ(lists[0].ratesLoadedTo, D(31, 12, 2024));
  EXPECT_EQ(lists[1].ratesLoadedTo, 0);
}

TEST_F(DebtorListTest, SelectionsNameTheirContracts) {
  struct Case {
    ContractSelection selection;
    std::function<bool(int32_t)> selects;
  };
  // Designated initializers name the filters a case sets; the others stay
  // empty.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
  const Case cases[] = {
      {{.contractId = 7}, [](int32_t id) { return id == 7; }},
      {{.municipality = " бяла "}, [](int32_t id) { return id % 3 == 2; }},
      {{.tenant = "7000000012"}, [](int32_t id) { return id == 12; }},
      {{.tenant = "наемател 29"}, [](int32_t id) { return id == 29 || (id >= 290 && id <= 299); }},
      {{.type = "НАЕМ реклама"}, [](int32_t id) { return id % 2 == 1; }},
      {{.type = "1002"}, [](int32_t) { return true; }},
      {{.municipality = "Русе", .type = "наем терен"},
       [](int32_t id) { return id % 3 != 2 && id % 2 == 0; }},
      {{.municipality = "Никъде"}, [](int32_t) { return false; }},
  };
  for (const Case& c : cases) {
    std::vector<int32_t> expected;
    for (int32_t id = 1; id <= kContracts; ++id)
      if (c.selects(id)) expected.push_back(id);
    EXPECT_EQ(DebtorsStore(db_->Connection(), c.selection).SelectedIds(), expected)
        << c.selection.municipality << c.selection.tenant << c.selection.type;
  }
  // A list of some contracts has their lines of the whole list: the rows of
  // the others in between are passed over.
  const DebtorList all = List(D(31, 12, 2025));
  const DebtorList odd = List(D(31, 12, 2025), -1, {.type = "наем реклама"});
  std::vector<std::vector<std::string>> expected, listed;
  for (const DebtorLine& line : all.lines) {
    if (line.contract.id % 2 == 1) expected.push_back(Texts(line.figures));
  }
  for (const DebtorLine& line : odd.lines) listed.push_back(Texts(line.figures));
  EXPECT_EQ(listed, expected);
  EXPECT_EQ(odd.contractsRead, kContracts / 2);

  const DebtorList one = List(D(31, 12, 2025), -1, {.contractId = 7});
  ASSERT_EQ(one.lines.size(), 1u);
  EXPECT_EQ(one.lines[0].contract.number, "7/2023");
  EXPECT_EQ(one.lines[0].contract.tenant, "Наемател 7");
  EXPECT_EQ(one.lines[0].contract.settlement, "Николово");
  EXPECT_EQ(one.lines[0].contract.cadastralId, "51679.7.7.0.0");
}

}  // namespace
}  // namespace zrv::state
