// zorvit undo ID [--check]: removes what import run ID stored, in one
// transaction, and marks the run undone; refused (exit code 1, nothing
// changed) when a contract of the run has payments, invoices or annexes of a
// later run. With --check it only shows what an undo would remove.

#include <iostream>
#include <optional>
#include <string>

#include "app/AppUsers.h"
#include "cli/Command.h"
#include "cli/ConnectOptions.h"
#include "common/Text.h"
#include "import/RunUndo.h"
#include "platform/system/HostName.h"

namespace zrv::cli {

namespace {

constexpr const char* kDetails =
    "Премахва в една транзакция всичко, което импортирането е записало: "
    "договорите му с анексите, погасителните планове и връзките към "
    "файловете; анексите, които е добавило към по-рано записани договори (на "
    "тези договори се възстановяват срокът и погасителният план); лицата, "
    "имотите и записите в класификаторите, които е добавило, ако нищо друго "
    "не ги използва. Отказва и не променя нищо, ако договор от "
    "импортирането има плащания, фактури или анекс от по-късно импортиране. "
    "Импортирането остава в историята като отменено, с кой и кога го е "
    "отменил. След отмяна същата работна книга може да се импортира "
    "отново.\n";
constexpr const char* kMsgBadId = "Невалиден номер на импортиране: ";
constexpr const char* kRefused = "Импортиране %d не е отменено:";
constexpr const char* kWouldRemove =
    "Отмяната на импортиране %d би премахнала (нищо не е променено):";
constexpr const char* kUndone = "Импортиране %d е отменено. Премахнато:";
constexpr const char* kNothing = "  (нищо)";

void WriteLines(const std::vector<std::string>& lines, std::ostream& out) {
  for (const std::string& line : lines) out << "  " << line << "\n";
}

int RunUndo(const ParsedArgs& args) {
  int32_t id = 0;
  if (!TryParseInt(args.Operands()[0], id)) throw UsageError(kMsgBadId + args.Operands()[0]);
  const ConnectOptions options = ReadConnectOptions(args);
  auto connection = Connect(options);
  import::UndoUser by;
  by.name = options.user;
  by.host = system::HostName();
  if (const std::optional<app::AppUser> user = app::FindAppUser(*connection, options.user))
    by.id = user->id;
  const bool check = args.Has("check");
  const import::UndoReport report = import::UndoRun(*connection, id, by, check);
  if (!report.refusals.empty()) {
    std::cerr << Format(kRefused, id) << "\n";
    WriteLines(report.refusals, std::cerr);
    return kExitFailed;
  }
  std::cout << Format(check ? kWouldRemove : kUndone, id) << "\n";
  if (report.removed.empty() && report.kept.empty()) std::cout << kNothing << "\n";
  WriteLines(report.removed, std::cout);
  WriteLines(report.kept, std::cout);
  std::cout.flush();
  return std::cout ? kExitOk : kExitFailed;
}

const CommandRegistration kUndo{
    {.words = {"undo"},
     .operands = "НОМЕР",
     .minOperands = 1,
     .maxOperands = 1,
     .summary = "отменя импортиране от историята (zorvit runs): премахва "
                "всичко, което то е записало, или отказва и не променя нищо",
     .options = WithLoginOptions({{"check", "", "само показва какво би се премахнало"}}),
     .details = kDetails,
     .run = &RunUndo}};

}  // namespace

}  // namespace zrv::cli
