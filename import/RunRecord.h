#pragma once
// The record of one real import run (table import_runs): who ran it where and
// when, on which workbook, how it ended and what its summary counted, and
// whether it was undone.

#include <cstdint>
#include <string>

#include "common/Dates.h"

namespace zrv::import {

struct RunRecord {
  int32_t id = 0;
  int32_t userId = 0;
  std::string userName;
  std::string host;
  TDate started = 0;
  TDate ended = 0;       // 0 while the run works, and for a run that was killed
  std::string workbook;  // the path the run opened
  double size = 0;       // bytes
  std::string sha256;
  std::string municipality;
  int32_t firstRow = 0;
  std::string outcome;  // empty until the run ends (see RunOutcomeCode)
  int32_t rowsRead = 0;
  int32_t stored = 0;
  int32_t skipped = 0;
  int32_t refused = 0;
  int32_t busy = 0;
  int32_t annexes = 0;
  int32_t annexesSkipped = 0;
  int32_t annexesRefused = 0;
  int32_t entries = 0;
  std::string logFile;
  TDate undone = 0;  // 0 unless undone
  int32_t undoneBy = 0;
  std::string undoneByName;
  std::string undoneHost;

  bool Finished() const { return ended != 0; }
  bool Undone() const { return undone != 0; }
};

}  // namespace zrv::import
