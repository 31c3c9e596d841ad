#include "cli/SummaryJson.h"

#include "cli/JsonText.h"
#include "common/Text.h"

namespace zrv::cli {

namespace {

std::string QuotedOrNull(const std::string& text) {
  return text.empty() ? "null" : JsonString(text);
}

}  // namespace

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
      << "  \"annexesStored\": " << s.annexesStored << ",\n"
      << "  \"annexesDropped\": " << s.annexesDropped << ",\n"
      << "  \"classifierEntriesAdded\": "
      << (s.classifierEntriesAdded < 0
              ? std::string("null")
              : std::to_string(s.classifierEntriesAdded))
      << ",\n"
      << "  \"logFile\": " << QuotedOrNull(s.logFile) << ",\n"
      << "  \"logProblem\": " << QuotedOrNull(s.logProblem) << ",\n"
      << "  \"refusedRowsFile\": " << QuotedOrNull(s.refusedRowsFile) << ",\n"
      << "  \"lastRow\": " << s.lastRow << ",\n"
      << "  \"elapsedSeconds\": " << Format("%.2f", s.elapsedSeconds) << ",\n"
      << "  \"errors\": [";
  for (size_t i = 0; i < report.errors.size(); ++i)
    out << (i ? ",\n    " : "\n    ") << JsonString(report.errors[i]);
  out << (report.errors.empty() ? "]\n" : "\n  ]\n") << "}\n";
}

}  // namespace zrv::cli
