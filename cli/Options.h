#pragma once
// The command line of one subcommand: its options come from a table, one line
// per option, and are read with getopt_long, so "--name value", "--name=value"
// and options after the operands all work. Every subcommand also takes the
// common options (--database, -h/--help).

#include <map>
#include <string>
#include <vector>

#include "common/Error.h"

namespace zrv::cli {

using Args = std::vector<std::string>;

// One option: its long name without the dashes, the name of its value in the
// help ("" for a flag that takes none) and its line of help.
struct OptionSpec {
  std::string name;
  std::string valueName;
  std::string help;
};

using OptionTable = std::vector<OptionSpec>;

// A command line the command does not understand; `zorvit` ends with exit
// code 2 and the message as a one-line reason.
class UsageError : public Error {
 public:
  explicit UsageError(const std::string& message) : Error(message) {}
};

// The options given (flags with an empty value) and the operands, in order.
class ParsedArgs {
 public:
  bool Has(const std::string& name) const { return values_.count(name) > 0; }
  // The option's value, or `fallback` when it was not given.
  std::string Value(const std::string& name, const std::string& fallback = "") const;
  const Args& Operands() const { return operands_; }

  void Set(const std::string& name, const std::string& value) { values_[name] = value; }
  void AddOperand(const std::string& operand) { operands_.push_back(operand); }

 private:
  std::map<std::string, std::string> values_;
  Args operands_;
};

// The options every subcommand takes, after its own.
const OptionTable& CommonOptions();

// The options of `first` followed by those of `then`.
OptionTable JoinOptions(const OptionTable& first, const OptionTable& then);

// Reads `args` against the command's table and the common options. Throws
// UsageError naming an unknown option, an option without its value or a flag
// given a value. "--" ends the options. The operand count is the caller's to
// check.
ParsedArgs ParseArgs(const OptionTable& table, const Args& args);

// The options' part of a help text: one line per option, aligned.
std::string OptionsHelp(const OptionTable& table);

}  // namespace zrv::cli
