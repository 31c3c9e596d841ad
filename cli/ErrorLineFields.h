#pragma once
// The parts of one line of the import's error list, for scripts: the line
// "FATAL : Липсва вид наем на ред номер : 7" gives level "FATAL", row 7,
// column "C", subject "вид наем" and text "Липсва вид наем".

#include <string>

namespace zrv::cli {

struct ErrorLineFields {
  std::string level;    // "FATAL" or "WARNING"; empty for a line with neither
  int row = 0;          // the worksheet row the line names; 0 for none
  std::string column;   // the column it is about ("AE"); empty when unknown
  std::string subject;  // what is missing, for a "Липсва ..." line; else empty
  std::string text;     // the line without its level and row
  std::string line;     // the whole line, as the log has it
};

// Never fails: a line of another form keeps only its text and line.
ErrorLineFields ParseErrorLine(const std::string& line);

}  // namespace zrv::cli
