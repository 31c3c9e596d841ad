#include "import/ErrorList.h"

namespace zrv::import {

namespace {
const char kFatalStart[] = "FATAL : Липсва ";
const char kWarningStart[] = "WARNING : Липсва ";
const char kWarning[] = "WARNING : ";
const char kFatal[] = "FATAL : ";
const char kAtRow[] = " на ред номер : ";
}  // namespace

std::string MissingLine(const std::string& subject, int row, bool fatal) {
  return (fatal ? kFatalStart : kWarningStart) + subject + kAtRow + std::to_string(row);
}

std::string WarningLine(const std::string& text, int row) {
  return kWarning + text + kAtRow + std::to_string(row);
}

std::string FatalLine(const std::string& text, int row) {
  return kFatal + text + kAtRow + std::to_string(row);
}

void ErrorList::ReportMissing(const std::string& subject, int row, bool fatal) {
  Add(MissingLine(subject, row, fatal), row);
}

void ErrorList::ReportWarning(const std::string& text, int row) {
  Add(WarningLine(text, row), row);
}

void ErrorList::ReportFatal(const std::string& text, int row) { Add(FatalLine(text, row), row); }

void ErrorList::Add(const std::string& line, int row) {
  lines_.push_back(line);
  rows_.push_back(row);
  if (!holding_) Publish();
}

void ErrorList::TakeBack(size_t mark) {
  if (mark < published_) mark = published_;
  if (mark >= lines_.size()) return;
  lines_.resize(mark);
  rows_.resize(mark);
}

void ErrorList::Publish() {
  holding_ = false;
  for (; published_ < lines_.size(); ++published_) {
    for (const auto& observer : observers_) observer(lines_[published_]);
  }
}

}  // namespace zrv::import
