#include "cli/SummaryJson.h"

#include "common/Text.h"

namespace zrv::cli {

namespace {

// A JSON string: quotes, backslashes and control characters escaped, the
// UTF-8 text kept as it is.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      out += Format("\\u%04x", c);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string QuotedOrNull(const std::string& text) {
  return text.empty() ? "null" : Quoted(text);
}

}  // namespace

void WriteSummaryJson(std::ostream& out, const SummaryReport& report) {
  const import::ImportSummary& s = report.summary;
  out << "{\n"
      << "  \"workbook\": " << Quoted(report.workbook) << ",\n"
      << "  \"finished\": " << (report.finished ? "true" : "false") << ",\n"
      << "  \"reason\": " << Quoted(report.reason) << ",\n"
      << "  \"exitCode\": " << report.exitCode << ",\n"
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
    out << (i ? ",\n    " : "\n    ") << Quoted(report.errors[i]);
  out << (report.errors.empty() ? "]\n" : "\n  ]\n") << "}\n";
}

}  // namespace zrv::cli
