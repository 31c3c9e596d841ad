#pragma once
// The error list of an import run: one text line per problem found on a row, in
// the order found. A line names what is missing and the row ("FATAL : Липсва
// вид наем на ред номер : 7"); FATAL when the row is not stored, WARNING when
// only an annex is dropped. During a run lines are only appended. The window
// and the command line show the list as it grows through observers.

#include <functional>
#include <string>
#include <vector>

namespace zrv::import {

// The line of a missing or invalid value: "FATAL : Липсва " + subject + " на
// ред номер : " + row, or the same beginning "WARNING : Липсва " when `fatal`
// is false.
std::string MissingLine(const std::string& subject, int row, bool fatal);

// "WARNING : " + text + " на ред номер : " + row, for a row or annex left out
// on purpose; "FATAL : " + text + ..., for a row not stored for a reason other
// than a missing value.
std::string WarningLine(const std::string& text, int row);
std::string FatalLine(const std::string& text, int row);

class ErrorList {
 public:
  using Observer = std::function<void(const std::string& line)>;

  ErrorList() = default;
  ErrorList(const ErrorList&) = delete;
  ErrorList& operator=(const ErrorList&) = delete;

  // Appends the line of a missing value (see MissingLine). Never fails for lack
  // of a row or subject: an empty subject still gives a line.
  void ReportMissing(const std::string& subject, int row, bool fatal);
  // Appends "WARNING : " + text + " на ред номер : " + row, for a row that is
  // left out on purpose.
  void ReportWarning(const std::string& text, int row);
  // Appends "FATAL : " + text + " на ред номер : " + row, for a row that is
  // not stored for a reason other than a missing value.
  void ReportFatal(const std::string& text, int row);
  // Appends a line as it is (naming no row) and tells every observer.
  void Add(const std::string& line) { Add(line, 0); }
  // Appends lines made beforehand (MissingLine, WarningLine, FatalLine) for
  // worksheet row `row`.
  void AddLines(const std::vector<std::string>& lines, int row) {
    for (const std::string& line : lines) Add(line, row);
  }
  // Empties the list; a new run starts with an empty list. Observers are not
  // told.
  void Clear() {
    lines_.clear();
    rows_.clear();
    holding_ = false;
    published_ = 0;
  }

  // While a row is tried, the lines it adds are kept from the observers: a
  // try that fails because another workstation wrote the same data takes its
  // lines back (TakeBack) before the row is tried again, so that no observer
  // sees a line twice. Hold gives the mark to take back to; Publish tells the
  // observers of the lines held and stops holding.
  size_t Hold() {
    holding_ = true;
    return lines_.size();
  }
  void TakeBack(size_t mark);
  void Publish();

  // `observer` is called with each line appended from now on, after it is
  // stored (or, while lines are held, when they are published). It must not
  // add lines itself.
  void Subscribe(Observer observer) { observers_.push_back(std::move(observer)); }

  const std::vector<std::string>& Lines() const { return lines_; }
  // The worksheet row each line names, in the order of Lines(); 0 for a line
  // added without a row.
  const std::vector<int>& Rows() const { return rows_; }
  bool Empty() const { return lines_.empty(); }

 private:
  void Add(const std::string& line, int row);

  std::vector<std::string> lines_;
  std::vector<int> rows_;
  std::vector<Observer> observers_;
  bool holding_ = false;
  size_t published_ = 0;  // lines the observers have been told of
};

}  // namespace zrv::import
