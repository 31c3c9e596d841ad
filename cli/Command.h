#pragma once
// The sub-commands of `zorvit`. Each command lives in its own file of cli/ and
// registers itself:
//
//   static const zrv::cli::CommandRegistration kCells{
//       {"cells"}, "cells WORKBOOK", "prints the first worksheet as CSV",
//       &RunCells};
//
// A command gets the arguments after its words and returns the process exit
// code; it reports failures on standard error.

#include <string>
#include <vector>

namespace zrv::cli {

using Args = std::vector<std::string>;
using CommandFn = int (*)(const Args& args);

struct Command {
  std::vector<std::string> words;  // e.g. {"db", "init"}
  std::string usage;               // e.g. "db init [--database PATH]"
  std::string summary;
  CommandFn run;
};

struct CommandRegistration {
  CommandRegistration(std::vector<std::string> words, std::string usage,
                      std::string summary, CommandFn run);
};

const std::vector<Command>& Commands();

// The value of an option "--name VALUE" in args, removing both; false when
// absent. Throws zrv::Error when the option is given without a value.
bool TakeOption(Args& args, const std::string& name, std::string& value);
// True when the flag "--name" is in args, removing it.
bool TakeFlag(Args& args, const std::string& name);

// A message for the terminal: its carriage returns (which part the connection
// error's server from the engine's message) become line breaks, which a
// terminal does not print over.
std::string TerminalText(std::string text);

}  // namespace zrv::cli
