#pragma once
// `zorvit import --summary-json FILE`: the run's summary and error list as one
// JSON object, for scripts:
//   {"workbook": "...", "finished": true, "reason": "", "exitCode": 3,
//    "rowsRead": 19, "contractsStored": 18, "rowsRefused": 1,
//    "annexesStored": 5, "annexesDropped": 1, "classifierEntriesAdded": 40,
//    "logFile": "...", "logProblem": null, "refusedRowsFile": "...",
//    "refusedRowsProblem": null, "lastRow": 27,
//    "elapsedSeconds": 2.58, "errors": ["FATAL : Липсва ...", ...]}
// A run that did not start has "finished": false, its reason and zero counts.
// Texts are UTF-8; classifierEntriesAdded is null when it is unknown, logFile
// logProblem, refusedRowsFile and refusedRowsProblem are null when empty.

#include <ostream>
#include <string>
#include <vector>

#include "import/ImportRun.h"

namespace zrv::cli {

struct SummaryReport {
  std::string workbook = {};
  bool finished = false;
  std::string reason = {};
  int exitCode = 0;
  import::ImportSummary summary = {};
  std::vector<std::string> errors = {};
};

void WriteSummaryJson(std::ostream& out, const SummaryReport& report);

}  // namespace zrv::cli
