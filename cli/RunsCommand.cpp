// zorvit runs [--format text|csv|json]: the import runs, newest first.
// zorvit runs show ID [--format text|json]: one run's record and what it
// stored. Nothing in the database changes.

#include <iostream>
#include <string>

#include "cli/Command.h"
#include "cli/ConnectOptions.h"
#include "cli/OutputForm.h"
#include "cli/RunsFormats.h"
#include "common/Text.h"
#include "import/RunHistory.h"

namespace zrv::cli {

namespace {

constexpr const char* kDetails =
    "Всяко импортиране със запис (не проверката) остава в историята: кой, "
    "от коя работна станция и кога го е пуснал, работната книга с размера и "
    "SHA-256 сумата ѝ, общината, първия ред, как е завършило и колко е "
    "записало. Импортиране без край още работи или програмата му е била "
    "спряна. „zorvit runs show НОМЕР“ показва и какво е записано, а „zorvit "
    "undo НОМЕР“ го отменя.\n";
constexpr const char* kMsgBadFormat = "Невалиден вид на изхода (очаква се text, csv или json): ";
constexpr const char* kMsgBadShowFormat = "Невалиден вид на изхода (очаква се text или json): ";
constexpr const char* kMsgBadId = "Невалиден номер на импортиране: ";
constexpr const char* kMsgNoRun = "Няма импортиране с номер %d.";

int RunRuns(const ParsedArgs& args) {
  const OutputForm form =
      ReadOutputForm(args, {OutputForm::kText, OutputForm::kCsv, OutputForm::kJson}, kMsgBadFormat);
  auto connection = Connect(ReadConnectOptions(args));
  const std::vector<import::RunRecord> runs = import::ListRuns(*connection);
  if (form == OutputForm::kCsv)
    WriteRunsCsv(runs, std::cout);
  else if (form == OutputForm::kJson)
    WriteRunsJson(runs, std::cout);
  else
    WriteRunsText(runs, std::cout);
  std::cout.flush();
  return std::cout ? kExitOk : kExitFailed;
}

int RunRunsShow(const ParsedArgs& args) {
  const OutputForm form =
      ReadOutputForm(args, {OutputForm::kText, OutputForm::kJson}, kMsgBadShowFormat);
  int32_t id = 0;
  if (!TryParseInt(args.Operands()[0], id)) throw UsageError(kMsgBadId + args.Operands()[0]);
  auto connection = Connect(ReadConnectOptions(args));
  const std::optional<import::RunDetails> run = import::ReadRun(*connection, id);
  if (!run) {
    std::cerr << Format(kMsgNoRun, id) << "\n";
    return kExitFailed;
  }
  if (form == OutputForm::kJson)
    WriteRunJson(*run, std::cout);
  else
    WriteRunText(*run, std::cout);
  std::cout.flush();
  return std::cout ? kExitOk : kExitFailed;
}

const CommandRegistration kRuns{
    {.words = {"runs"},
     .summary = "историята на импортиранията, най-новото първо: кой, кога, "
                "коя работна книга (SHA-256), как е завършило и колко е "
                "записало",
     .options = WithLoginOptions({{"format", "text|csv|json",
                                   "вид на изхода (text по подразбиране; csv по RFC 4180 в UTF-8 и "
                                   "json са за програми)"}}),
     .details = kDetails,
     .run = &RunRuns}};

const CommandRegistration kRunsShow{
    {.words = {"runs", "show"},
     .operands = "НОМЕР",
     .minOperands = 1,
     .maxOperands = 1,
     .summary = "едно импортиране от историята и всичко, което е записало",
     .options = WithLoginOptions({{"format", "text|json", "вид на изхода (text по подразбиране)"}}),
     .details = kDetails,
     .run = &RunRunsShow}};

}  // namespace

}  // namespace zrv::cli
