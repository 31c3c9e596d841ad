// Transactions of the Firebird connection: explicit snapshot transactions,
// statements that commit on their own, and the rule of OwnTransaction.

#include <chrono>

#include <gtest/gtest.h>

#include "platform/db/Firebird.h"
#include "platform/db/Transaction.h"
#include "tests/support/TestDatabase.h"

namespace zrv::db {
namespace {

using test::TestDatabase;

std::unique_ptr<Connection> SecondConnection(const TestDatabase& t) {
  auto other = MakeFirebirdConnection();
  other->Open(ConnectParams{"SYSDBA", "masterkey", t.Path()});
  return other;
}

int Count(Connection& c, const std::string& table) {
  auto q = c.NewQuery();
  q->SetSQL("select count(*) from " + table);
  q->Open();
  return q->FieldAt(0).AsInteger();
}

TEST(TransactionTest, StatementOutsideTransactionCommitsAtOnce) {
  TestDatabase t;
  t.Exec("insert into me_kl (me_id, me_text) values (1, 'a')");
  EXPECT_FALSE(t.Connection().InTransaction());
  auto other = SecondConnection(t);
  EXPECT_EQ(Count(*other, "me_kl"), 1);
}

TEST(TransactionTest, RollbackUndoesAndCommitKeeps) {
  TestDatabase t;
  Connection& c = t.Connection();
  c.StartTransaction();
  EXPECT_TRUE(c.InTransaction());
  t.Exec("insert into me_kl (me_id, me_text) values (1, 'a')");
  EXPECT_EQ(Count(c, "me_kl"), 1);
  c.Rollback();
  EXPECT_FALSE(c.InTransaction());
  EXPECT_EQ(Count(c, "me_kl"), 0);

  c.StartTransaction();
  t.Exec("insert into me_kl (me_id, me_text) values (2, 'b')");
  c.Commit();
  EXPECT_EQ(Count(c, "me_kl"), 1);
  EXPECT_THROW(c.Commit(), DbError);
  c.StartTransaction();
  EXPECT_THROW(c.StartTransaction(), DbError);
  c.Rollback();
}

TEST(TransactionTest, SnapshotDoesNotSeeLaterCommitsOfOthers) {
  TestDatabase t;
  Connection& c = t.Connection();
  auto other = SecondConnection(t);
  c.StartTransaction();
  EXPECT_EQ(Count(c, "jk_kl"), 0);
  auto insert = other->NewQuery();
  insert->SetSQL("insert into jk_kl (jk_id, jk_text) values (1, 'x')");
  insert->Execute();
  EXPECT_EQ(Count(c, "jk_kl"), 0);
  c.Commit();
  EXPECT_EQ(Count(c, "jk_kl"), 1);
}

TEST(TransactionTest, FailedStatementLeavesTheTransactionAndItsWork) {
  TestDatabase t;
  Connection& c = t.Connection();
  c.StartTransaction();
  t.Exec("insert into me_kl (me_id, me_text) values (1, 'a')");
  EXPECT_THROW(t.Exec("insert into me_kl (me_id, me_text) values (1, 'again')"), DbError);
  EXPECT_TRUE(c.InTransaction());
  c.Commit();
  EXPECT_EQ(t.Scalar("select me_text from me_kl"), "a");
}

TEST(TransactionTest, OwnTransactionFinishesOnlyWhatItStarted) {
  TestDatabase t;
  Connection& c = t.Connection();
  {
    OwnTransaction own(c);
    EXPECT_TRUE(own.Owns());
    t.Exec("insert into me_kl (me_id, me_text) values (1, 'dropped')");
  }  // left without Commit: rolled back
  EXPECT_FALSE(c.InTransaction());
  EXPECT_EQ(Count(c, "me_kl"), 0);

  c.StartTransaction();
  {
    OwnTransaction inner(c);
    EXPECT_FALSE(inner.Owns());
    t.Exec("insert into me_kl (me_id, me_text) values (2, 'outer decides')");
    inner.Commit();
  }
  EXPECT_TRUE(c.InTransaction());
  c.Rollback();
  EXPECT_EQ(Count(c, "me_kl"), 0);
}

TEST(TransactionTest, CloseRollsBackTheOpenTransaction) {
  TestDatabase t;
  Connection& c = t.Connection();
  c.StartTransaction();
  t.Exec("insert into me_kl (me_id, me_text) values (1, 'a')");
  c.Close();
  EXPECT_FALSE(c.Connected());
  EXPECT_FALSE(c.InTransaction());
  c.Open(ConnectParams{"SYSDBA", "masterkey", t.Path()});
  EXPECT_EQ(Count(c, "me_kl"), 0);
}

// Transactions as objects: each statement runs in the transaction whose query
// it is, whatever else is open; one destroyed while open is rolled back.
TEST(TransactionTest, TransactionObjectsRunTheirOwnStatements) {
  TestDatabase t;
  Connection& c = t.Connection();
  const auto insert = [](Transaction& tx, int id) {
    auto q = tx.NewQuery();
    q->SetSQL("insert into me_kl (me_id, me_text) values (:id, :text)");
    q->SetInteger("id", id);
    q->SetString("text", std::to_string(id));
    q->Execute();
  };
  const auto count = [](Transaction& tx) {
    auto q = tx.NewQuery();
    q->SetSQL("select count(*) from me_kl");
    q->Open();
    return q->FieldAt(0).AsInteger();
  };
  c.StartTransaction();
  auto row = c.Begin(Isolation::kSnapshot);
  {
    auto apart = c.Begin(Isolation::kReadCommitted);
    insert(*apart, 1);
    apart->Commit();
    EXPECT_FALSE(apart->Active());
    EXPECT_THROW(apart->Commit(), DbError);
  }
  EXPECT_EQ(count(*row), 0);  // began before the commit
  insert(*row, 2);
  EXPECT_EQ(count(*row), 1);
  {
    auto dropped = c.Begin(Isolation::kSnapshot);
    insert(*dropped, 3);
  }
  row->Commit();
  c.Rollback();  // the open transaction held none of it
  EXPECT_EQ(Count(c, "me_kl"), 2);
}

// A batch of rows does not wait for a row another transaction holds: the
// conflict comes at once (for an insert, as the key taken), not after the
// lock time-out of 10 s.
TEST(TransactionTest, NoWaitSnapshotMeetsAHeldRowAtOnce) {
  TestDatabase t;
  auto other = SecondConnection(t);
  const auto insert = [](Transaction& tx) {
    auto q = tx.NewQuery();
    q->SetSQL("insert into me_kl (me_id, me_text) values (1, 'a')");
    q->Execute();
  };
  auto holder = t.Connection().Begin(Isolation::kSnapshot);
  insert(*holder);
  auto batch = other->Begin(Isolation::kSnapshotNoWait);
  const auto began = std::chrono::steady_clock::now();
  EXPECT_THROW(insert(*batch), DuplicateKeyError);
  EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(2));
}

}  // namespace
}  // namespace zrv::db
