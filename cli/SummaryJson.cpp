#include "cli/SummaryJson.h"

#include "cli/JsonText.h"
#include "common/Text.h"

namespace zrv::cli {

void WriteSummaryJson(std::ostream& out, const SummaryReport& report) {
  const import::ImportSummary& s = report.summary;
  out << "{\n"
      << "  \"workbook\": " << JsonString(report.workbook) << ",\n"
      << "  \"finished\": " << (report.finished ? "true" : "false") << ",\n"
      << "  \"reason\": " << JsonString(report.reason) << ",\n"
      << "  \"exitCode\": " << report.exitCode << ",\n"
      << "  \"checkOnly\": " << (s.checkOnly ? "true" : "false") << ",\n"
      << "  \"rowsRead\": " << s.rowsRead << ",\n"
      << "  \"contractsStored\": " << s.contractsStored << ",\n"
      << "  \"rowsRefused\": " << s.rowsRefused << ",\n"
      << "  \"rowsSkipped\": " << s.rowsSkipped << ",\n"
      << "  \"rowsBusy\": " << s.rowsBusy << ",\n"
      << "  \"rowsRetried\": " << s.rowsRetried << ",\n"
      << "  \"annexesStored\": " << s.annexesStored << ",\n"
      << "  \"annexesDropped\": " << s.annexesDropped << ",\n"
      << "  \"annexesSkipped\": " << s.annexesSkipped << ",\n"
      << "  \"classifierEntriesAdded\": "
      << (s.classifierEntriesAdded < 0
              ? std::string("null")
              : std::to_string(s.classifierEntriesAdded))
      << ",\n"
      << "  \"logFile\": " << JsonValue(s.logFile, false) << ",\n"
      << "  \"logProblem\": " << JsonValue(s.logProblem, false) << ",\n"
      << "  \"refusedRowsFile\": " << JsonValue(s.refusedRowsFile, false)
      << ",\n"
      << "  \"refusedRowsProblem\": " << JsonValue(s.refusedRowsProblem, false)
      << ",\n"
      << "  \"lastRow\": " << s.lastRow << ",\n"
      << "  \"elapsedSeconds\": " << Format("%.2f", s.elapsedSeconds) << ",\n"
      << "  \"errors\": ";
  WriteJsonStrings(out, report.errors, true);
  out << "\n}\n";
}

}  // namespace zrv::cli
