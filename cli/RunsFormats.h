#pragma once
// The forms of `zorvit runs` and `zorvit runs show`: a text table for people,
// CSV (RFC 4180, UTF-8) and JSON for programs.

#include <ostream>
#include <vector>

#include "import/RunHistory.h"

namespace zrv::cli {

void WriteRunsText(const std::vector<import::RunRecord>& runs, std::ostream& out);
void WriteRunsCsv(const std::vector<import::RunRecord>& runs, std::ostream& out);
void WriteRunsJson(const std::vector<import::RunRecord>& runs, std::ostream& out);

void WriteRunText(const import::RunDetails& run, std::ostream& out);
void WriteRunJson(const import::RunDetails& run, std::ostream& out);

}  // namespace zrv::cli
