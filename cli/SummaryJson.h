#pragma once
// `zorvit import --summary-json FILE`: the run's summary and error list as one
// JSON object, for scripts:
//   {"workbook": "...", "finished": true, "reason": "", "exitCode": 3,
//    "rowsRead": 19, "contractsStored": 18, "rowsRefused": 1,
//    "annexesStored": 5, "annexesDropped": 1, "classifierEntriesAdded": 40,
//    "logFile": "...", "logProblem": null, "refusedRowsFile": "...",
//    "refusedRowsProblem": null, "lastRow": 27,
//    "elapsedSeconds": 2.58,
//    "errors": [{"row": 7, "column": "C", "level": "FATAL",
//                "subject": "вид наем", "text": "Липсва вид наем",
//                "line": "FATAL : Липсва вид наем на ред номер : 7"}, ...],
//    "storedContracts": [{"id": 1204, "number": "15/2007", "row": 3}, ...]}
// A run that did not start has "finished": false, its reason and zero counts.
// Texts are UTF-8; classifierEntriesAdded is null when it is unknown, logFile
// logProblem, refusedRowsFile and refusedRowsProblem are null when empty.
// An error's row, column, level and subject are null when its line names none
// (see ErrorLineFields.h); "line" is the line as the log has it. A dry run's
// stored contracts have a null id: nothing of them stays.

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
  std::vector<import::StoredContractRow> storedContracts = {};
};

void WriteSummaryJson(std::ostream& out, const SummaryReport& report);

}  // namespace zrv::cli
