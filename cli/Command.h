#pragma once
// The subcommands of `zorvit`. Each command lives in its own file of cli/ and
// registers itself with its words, operands, options and run function:
//
//   const zrv::cli::CommandRegistration kCells{{
//       .words = {"cells"}, .operands = "КНИГА", .minOperands = 1,
//       .maxOperands = 1, .summary = "...", .run = &RunCells}};
//
// main reads the command line against the command's option table (see
// cli/Options.h), answers --help itself, checks the operand count and calls
// run, whose result is the exit code. A command reports failures on standard
// error or throws: UsageError gives exit code 2, any other error exit code 1.

#include <string>
#include <vector>

#include "cli/Options.h"

namespace zrv::cli {

// Exit codes of `zorvit`.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // could not start, or stopped
inline constexpr int kExitUsage = 2;
inline constexpr int kExitRowsRefused = 3;  // import finished, rows refused

// The exit codes as the help texts list them.
extern const char kExitCodesHelp[];

using CommandFn = int (*)(const ParsedArgs& args);

struct Command {
  std::vector<std::string> words = {};  // e.g. {"db", "init"}
  std::string operands = {};            // e.g. "КНИГА", for the usage line
  size_t minOperands = 0;
  size_t maxOperands = 0;
  std::string summary = {};
  OptionTable options = {};  // the command's own options; the common ones follow
  std::string details = {};  // more help after the options (exit codes, ...)
  CommandFn run = nullptr;
};

struct CommandRegistration {
  explicit CommandRegistration(Command command);
};

const std::vector<Command>& Commands();

// "zorvit import [ОПЦИИ] КНИГА"
std::string UsageLine(const Command& command);

// The command's --help text.
std::string CommandHelp(const Command& command);

// The usage line and summary of every command whose first word is `word`
// (every command for an empty word), two lines each.
std::string CommandList(const std::string& word = "");

// The help of a group of commands sharing their first word ("zorvit db"):
// its usage and its commands; empty when no command starts with `word`.
std::string GroupHelp(const std::string& word);

// A message for the terminal: its carriage returns (which part the connection
// error's server from the engine's message) become line breaks, which a
// terminal does not print over.
std::string TerminalText(std::string text);

}  // namespace zrv::cli
