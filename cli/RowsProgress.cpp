#include "cli/RowsProgress.h"

#include <cmath>

#include "common/Text.h"

namespace zrv::cli {

namespace {

constexpr const char* kRowOf = "ред %d от %d";
constexpr const char* kPace = ", %.0f реда/с";
constexpr const char* kLeft = ", остават %s";
constexpr const char* kWipe = "\r\033[K";
// How often each form is shown at most.
constexpr auto kInPlaceEvery = std::chrono::milliseconds(200);
constexpr auto kLineEvery = std::chrono::seconds(5);

// "0:07", "12:30", "1:02:07".
std::string Duration(double seconds) {
  const long whole = std::lround(seconds);
  const long hours = whole / 3600, minutes = whole / 60 % 60, rest = whole % 60;
  return hours > 0 ? Format("%ld:%02ld:%02ld", hours, minutes, rest)
                   : Format("%ld:%02ld", minutes, rest);
}

}  // namespace

ProgressMode ChooseProgressMode(bool forced, bool quiet, bool terminal) {
  if (quiet) return ProgressMode::kNone;
  if (terminal) return ProgressMode::kInPlace;
  return forced ? ProgressMode::kLines : ProgressMode::kNone;
}

std::string RowsProgressText(int done, int total, double seconds) {
  std::string text = Format(kRowOf, done, total);
  if (done <= 0 || seconds <= 0) return text;
  const double pace = done / seconds;
  text += Format(kPace, pace);
  if (total > done) text += Format(kLeft, Duration((total - done) / pace).c_str());
  return text;
}

RowsProgress::RowsProgress(ProgressMode mode, std::ostream& out) : mode_(mode), out_(out) {}

void RowsProgress::Start(int total) {
  total_ = total;
  began_ = Clock::now();
  shownAt_ = began_ - kLineEvery;
}

void RowsProgress::Show(int done) {
  if (mode_ == ProgressMode::kNone) return;
  const auto now = Clock::now();
  const auto every = mode_ == ProgressMode::kInPlace
                         ? std::chrono::duration_cast<Clock::duration>(kInPlaceEvery)
                         : std::chrono::duration_cast<Clock::duration>(kLineEvery);
  if (done < total_ && now - shownAt_ < every) return;
  shownAt_ = now;
  const std::string text =
      RowsProgressText(done, total_, std::chrono::duration<double>(now - began_).count());
  if (mode_ == ProgressMode::kInPlace) {
    out_ << kWipe << text << std::flush;
    visible_ = true;
  } else {
    out_ << text << std::endl;
  }
}

void RowsProgress::Wipe() {
  if (!visible_) return;
  out_ << kWipe << std::flush;
  visible_ = false;
}

}  // namespace zrv::cli
