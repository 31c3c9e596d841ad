#include "cli/Options.h"

#include <getopt.h>

#include <algorithm>

#include "common/Text.h"

namespace zrv::cli {

namespace {

constexpr const char* kUnknownOption = "непозната опция ";
constexpr const char* kNeedsValue = " изисква стойност";
constexpr const char* kTakesNoValue = " не приема стойност";

// getopt_long's value for -h; long options report their index + kFirstLong.
constexpr int kShortHelp = 'h';
constexpr int kFirstLong = 256;

const OptionSpec* Find(const OptionTable& table, const std::string& name) {
  for (const auto& option : table) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

// The reason getopt_long refused `arg` ("--name", "--name=value" or "-x").
std::string Refusal(const OptionTable& table, const std::string& arg) {
  if (arg.rfind("--", 0) == 0) {
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(2, equals - 2);
    const OptionSpec* option = Find(table, name);
    if (option && option->valueName.empty() && equals != std::string::npos)
      return "--" + name + kTakesNoValue;
  }
  return kUnknownOption + arg;
}

}  // namespace

std::string ParsedArgs::Value(const std::string& name, const std::string& fallback) const {
  const auto found = values_.find(name);
  return found == values_.end() ? fallback : found->second;
}

const OptionTable& CommonOptions() {
  static const OptionTable common = {
      {"database", "ПЪТ",
       "базата данни (\"път\" или \"сървър:/път\"; по подразбиране "
       "от настройките или $ZRV_DATABASE, иначе "
       "~/.local/share/zorvit/zorvit.fdb)"},
      {"wait-limit", "СЕКУНДИ",
       "колко най-много се чака отговор от базата данни (1 до 3600; по "
       "подразбиране от настройките или $ZRV_WAIT_LIMIT, иначе 30)"},
      {"help", "", "показва тази помощ (също -h)"},
  };
  return common;
}

OptionTable JoinOptions(const OptionTable& first, const OptionTable& then) {
  OptionTable table = first;
  table.insert(table.end(), then.begin(), then.end());
  return table;
}

ParsedArgs ParseArgs(const OptionTable& own, const Args& args) {
  const OptionTable table = JoinOptions(own, CommonOptions());

  std::vector<option> longOptions;
  for (size_t i = 0; i < table.size(); ++i) {
    longOptions.push_back({table[i].name.c_str(),
                           table[i].valueName.empty() ? no_argument : required_argument, nullptr,
                           kFirstLong + static_cast<int>(i)});
  }
  longOptions.push_back({nullptr, 0, nullptr, 0});

  // getopt_long permutes its argv: give it copies it may reorder.
  std::vector<std::string> words = args;
  words.insert(words.begin(), "zorvit");
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  ParsedArgs parsed;
  optind = 0;  // start afresh (GNU): the parser may run more than once
  opterr = 0;  // the refusals are ours, in Bulgarian
  const int argc = static_cast<int>(words.size());
  int code;
  while ((code = getopt_long(argc, argv.data(), ":h", longOptions.data(), nullptr)) != -1) {
    if (code == kShortHelp) {
      parsed.Set("help", "");
    } else if (code >= kFirstLong) {
      parsed.Set(table[code - kFirstLong].name, optarg ? optarg : "");
    } else {
      // The refused word is the last one getopt_long looked at; an unknown
      // short option may share its word with others ("-xy").
      const std::string arg = argv[std::max(optind - 1, 1)];
      if (code == ':') throw UsageError(arg.substr(0, arg.find('=')) + kNeedsValue);
      if (arg.rfind("--", 0) != 0 && optopt != 0)
        throw UsageError(kUnknownOption + std::string("-") + static_cast<char>(optopt));
      throw UsageError(Refusal(table, arg));
    }
  }
  for (int i = optind; i < argc; ++i) parsed.AddOperand(argv[i]);
  return parsed;
}

std::string OptionsHelp(const OptionTable& table) {
  std::vector<std::string> heads;
  size_t width = 0;
  for (const auto& option : table) {
    std::string head = "  --" + option.name;
    if (!option.valueName.empty()) head += " " + option.valueName;
    width = std::max(width, Utf8Length(head));
    heads.push_back(head);
  }
  std::string text;
  for (size_t i = 0; i < table.size(); ++i) {
    // Value names are Cyrillic: pad by characters, not bytes.
    text += heads[i] + std::string(width + 2 - Utf8Length(heads[i]), ' ') + table[i].help + "\n";
  }
  return text;
}

}  // namespace zrv::cli
