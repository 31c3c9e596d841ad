// The login prompt on the controlling terminal.

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>

#include "platform/login/Prompts.h"

namespace zrv::login {

namespace {

const char* const kUserPrompt = "Потребител: ";
const char* const kPasswordPrompt = "Парола: ";
const char* const kNoTerminal = "Няма терминал за въвеждане на потребител и парола.\n";

class Terminal {
 public:
  Terminal() : fd_(open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY)) {}
  ~Terminal() {
    if (fd_ >= 0) close(fd_);
  }
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  int Fd() const { return fd_; }

  void Write(const std::string& text) const {
    size_t done = 0;
    while (done < text.size()) {
      const ssize_t n = write(fd_, text.data() + done, text.size() - done);
      if (n <= 0) return;
      done += static_cast<size_t>(n);
    }
  }

  // One line without its end; false at end of input with nothing read.
  bool ReadLine(std::string& line) const {
    line.clear();
    char c;
    bool any = false;
    while (true) {
      const ssize_t n = read(fd_, &c, 1);
      if (n <= 0) return any;
      any = true;
      if (c == '\n') return true;
      if (c != '\r') line += c;
    }
  }

 private:
  int fd_;
};

// Switches the terminal's echo off for its lifetime and restores the previous
// settings.
class EchoOff {
 public:
  explicit EchoOff(int fd) : fd_(fd), saved_(tcgetattr(fd, &old_) == 0) {
    if (!saved_) return;
    termios quiet = old_;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    quiet.c_lflag |= ECHONL;
    tcsetattr(fd_, TCSANOW, &quiet);
  }
  ~EchoOff() {
    if (saved_) tcsetattr(fd_, TCSANOW, &old_);
  }
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

 private:
  int fd_;
  termios old_{};
  bool saved_;
};

}  // namespace

bool AskOnTerminal(Credentials& credentials, const std::string& problem) {
  Terminal terminal;
  if (!terminal.IsOpen()) {
    std::fputs(kNoTerminal, stderr);
    return false;
  }
  if (!problem.empty()) terminal.Write(problem + "\n");
  terminal.Write(kUserPrompt);
  if (!terminal.ReadLine(credentials.userName)) {
    terminal.Write("\n");
    return false;
  }
  // Echo goes off before the prompt shows, so nothing typed at the prompt is
  // ever echoed.
  EchoOff quiet(terminal.Fd());
  terminal.Write(kPasswordPrompt);
  return terminal.ReadLine(credentials.password);
}

}  // namespace zrv::login
