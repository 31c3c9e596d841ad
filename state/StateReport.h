#pragma once
// The figures `zorvit state` shows, gathered once from a computed contract
// state so that the text, CSV and JSON forms show the same values: the
// contract's header, notes on what the state stands on, the schedule with
// each period's VAT and interest, the payments, the payment history, the
// invoices waiting for payment, the interest explanation and the totals.

#include <string>
#include <vector>

#include "state/BaseRates.h"
#include "state/DocInfo.h"

namespace zrv::state {

// One labelled value; `key` names it for scripts (JSON), `label` for people.
struct ReportItem {
  std::string key;
  std::string label;
  std::string value;
  bool number = false;  // written as a JSON number
};

struct ReportColumn {
  std::string key;
  std::string label;
  bool number = false;  // a figure: right-aligned, a JSON number
};

struct ReportTable {
  std::string key;    // "periods", "payments", ...
  std::string title;  // heading of the text form, section of the CSV form
  std::vector<ReportColumn> columns;
  std::vector<std::vector<std::string>> rows;
};

struct StateReport {
  std::vector<ReportItem> header;
  std::vector<std::string> notes;  // what the state stands on; warnings
  std::vector<ReportTable> tables;
  std::vector<std::string> explanation;  // interest lines, newest period first
  std::vector<ReportItem> totals;
};

// The report of `info` after LoadContract and ComputeState; `number` is the
// contract's register number, `rates` the table the interest was charged on.
StateReport BuildStateReport(const TDocInfo& info, const std::string& number,
                             const BaseRateTable& rates);

}  // namespace zrv::state
