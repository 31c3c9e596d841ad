#pragma once
// Comma-separated values as RFC 4180 writes them, with a separator of the
// caller's choice (",", ";" or a tab): records end at CR LF (a lone LF or CR
// is read as well); a field in double quotes may hold the separator, line
// breaks and double quotes written twice. Text is taken and given as it is
// (UTF-8 in this program); a UTF-8 byte-order mark at the start is skipped.

#include <string>
#include <string_view>
#include <vector>

namespace zrv::csv {

// One record and the number of the line it starts on (from 1).
struct Record {
  int line = 0;
  std::vector<std::string> fields;

  // True for an empty line: one field, and that empty.
  bool Blank() const { return fields.size() == 1 && fields[0].empty(); }
};

// Reads every record of `text`. True with the records; false with
// `errorLine` set to the line of a quoted field that is never closed or whose
// closing quote is followed by something other than a separator or a line
// end. A line end at the very end of the text opens no further record.
bool Parse(std::string_view text, char separator, std::vector<Record>& records, int& errorLine);

// The separator a file uses: a tab when its first line (outside quotes) holds
// one, else ";" when it holds one, else ",".
char GuessSeparator(std::string_view text);

// A field as it is written: in double quotes, inner double quotes doubled,
// when it holds the separator, a double quote, CR or LF; else unchanged.
std::string Field(std::string_view text, char separator = ',');

// The fields written one after the other with the separator between them, no
// line end.
std::string Line(const std::vector<std::string>& fields, char separator = ',');

}  // namespace zrv::csv
