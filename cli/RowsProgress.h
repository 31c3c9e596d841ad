#pragma once
// The progress of `zorvit import` on standard error: the rows read of the
// total, the rows per second and the time left.
//
// On a terminal one line is rewritten in place, a few times a second, and is
// wiped before anything else is printed. Forced (--progress) where standard
// error is no terminal (a log of a night's run), a plain line every few
// seconds instead: carriage returns would pile up in a file.

#include <chrono>
#include <ostream>
#include <string>

namespace zrv::cli {

enum class ProgressMode {
  kNone,     // --quiet, or standard error is no terminal and it was not asked
  kInPlace,  // a terminal: one line rewritten in place
  kLines,    // a line every few seconds
};

// --progress forces it and --quiet leaves it out (the caller refuses both at
// once); otherwise it is shown on a terminal only.
ProgressMode ChooseProgressMode(bool forced, bool quiet, bool terminal);

// "ред 1200 от 10001, 85 реда/с, остават 1:43" after `seconds` of reading;
// without the pace and the time left before there is a pace to tell.
std::string RowsProgressText(int done, int total, double seconds);

class RowsProgress {
 public:
  RowsProgress(ProgressMode mode, std::ostream& out);

  void Start(int total);
  // Row `done` of the total is read; shown when the last showing is old
  // enough, and always for the last row.
  void Show(int done);
  // Takes the line in place off the terminal before other output.
  void Wipe();

 private:
  using Clock = std::chrono::steady_clock;
  ProgressMode mode_;
  std::ostream& out_;
  bool visible_ = false;
  int total_ = 0;
  Clock::time_point began_;
  Clock::time_point shownAt_;
};

}  // namespace zrv::cli
