#pragma once
// Reads a package twice, held in memory and read in pieces as asked for, and
// stops the fuzzer when the two readings of a cell differ. A package the
// second reading refuses (cells out of order) only needs the first to hold.

#include <cstdlib>
#include <functional>
#include <memory>

#include "platform/workbook/Workbook.h"

namespace zrv::fuzz {

using Read = std::function<std::unique_ptr<workbook::Worksheet>(size_t)>;

inline void ReadBothWays(const Read& read) {
  std::unique_ptr<workbook::Worksheet> held, streamed;
  try {
    held = read(SIZE_MAX);
    streamed = read(0);
  } catch (const workbook::WorkbookError&) {
  }
  if (!held || !streamed) return;
  if (held->UsedRowCount() != streamed->UsedRowCount() ||
      held->UsedColumnCount() != streamed->UsedColumnCount())
    std::abort();
  for (int r = 1; r <= held->UsedRowCount() && r <= 2000; ++r) {
    for (int c = 1; c <= held->UsedColumnCount() && c <= 64; ++c) {
      if (held->CellText(r, c) != streamed->CellText(r, c)) std::abort();
    }
  }
}

}  // namespace zrv::fuzz
