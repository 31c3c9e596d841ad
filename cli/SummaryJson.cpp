#include "cli/SummaryJson.h"

#include "cli/ErrorLineFields.h"
#include "cli/JsonText.h"
#include "common/Text.h"

namespace zrv::cli {

namespace {

void WriteError(std::ostream& out, const std::string& line) {
  const ErrorLineFields f = ParseErrorLine(line);
  out << "{\"row\": " << (f.row > 0 ? std::to_string(f.row) : std::string("null"))
      << ", \"column\": " << JsonValue(f.column, false)
      << ", \"level\": " << JsonValue(f.level, false)
      << ", \"subject\": " << JsonValue(f.subject, false) << ", \"text\": " << JsonString(f.text)
      << ", \"line\": " << JsonString(f.line) << "}";
}

void WriteStoredContract(std::ostream& out, const import::StoredContractRow& contract,
                         bool checkOnly) {
  out << "{\"id\": " << (checkOnly ? std::string("null") : std::to_string(contract.id))
      << ", \"number\": " << JsonString(contract.number) << ", \"row\": " << contract.row << "}";
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
      << "  \"runId\": " << (s.runId > 0 ? std::to_string(s.runId) : std::string("null")) << ",\n"
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
      << (s.classifierEntriesAdded < 0 ? std::string("null")
                                       : std::to_string(s.classifierEntriesAdded))
      << ",\n"
      << "  \"logFile\": " << JsonValue(s.logFile, false) << ",\n"
      << "  \"logProblem\": " << JsonValue(s.logProblem, false) << ",\n"
      << "  \"refusedRowsFile\": " << JsonValue(s.refusedRowsFile, false) << ",\n"
      << "  \"refusedRowsProblem\": " << JsonValue(s.refusedRowsProblem, false) << ",\n"
      << "  \"lastRow\": " << s.lastRow << ",\n"
      << "  \"elapsedSeconds\": " << Format("%.2f", s.elapsedSeconds) << ",\n"
      << "  \"errors\": ";
  WriteJsonArray(out, report.errors.size(), true,
                 [&](size_t i) { WriteError(out, report.errors[i]); });
  out << ",\n  \"storedContracts\": ";
  WriteJsonArray(out, report.storedContracts.size(), true, [&](size_t i) {
    WriteStoredContract(out, report.storedContracts[i], s.checkOnly);
  });
  out << "\n}\n";
}

}  // namespace zrv::cli
