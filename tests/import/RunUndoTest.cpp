// The undo of a run at work on another workstation is refused at once; once
// the run's program is gone (its lock with it) the run is undone.

#include <gtest/gtest.h>

#include "import/RunRecorder.h"
#include "import/RunUndo.h"
#include "platform/db/Firebird.h"
#include "tests/support/TestDatabase.h"

namespace zrv::import {
namespace {

TEST(RunUndo, ARunAtWorkIsRefusedAndAKilledOneUndone) {
  test::TestDatabase database;
  auto other = db::MakeFirebirdConnection();
  other->Open(db::ConnectParams{"SYSDBA", "masterkey", database.Path()});

  RunTrace trace;
  trace.Hold();
  int32_t runId = 0;
  {
    RunRecorder recorder(database.Connection());
    recorder.Begin(RunRecord{}, trace);
    runId = recorder.Id();
    const UndoReport atWork = UndoRun(*other, runId, {}, false);
    EXPECT_FALSE(atWork.undone);
    ASSERT_EQ(atWork.refusals.size(), 1u);
    EXPECT_NE(atWork.refusals[0].find("още работи"), std::string::npos) << atWork.refusals[0];
  }  // the run ends without its record completed, as a killed program's

  const UndoReport killed = UndoRun(*other, runId, {7, "clerk", "ws2"}, false);
  EXPECT_TRUE(killed.undone);
  EXPECT_TRUE(killed.refusals.empty());
  EXPECT_EQ(database.Scalar("SELECT run_undonebyname || '@' || run_undonehost "
                            "FROM import_runs"),
            "clerk@ws2");
}

}  // namespace
}  // namespace zrv::import
