#include "import/RunHistoryText.h"

#include <map>

#include "common/Text.h"

namespace zrv::import {
namespace {

const std::map<std::string, std::string> kOutcomes = {
    {"finished", "завършено"},
    {"cancelled", "без работна книга"},
    {"not-started", "не започна"},
    {"interrupted", "прекъснато"},
    {"connection-lost", "прекъсната връзка с базата данни"},
    {"workbook-lost", "работната книга стана нечетима"},
    {"database-failed", "базата данни не можа да записва"},
};
const char* const kUnfinished = "незавършено (работи или е било спряно)";

const char* const kContract = "Договор %s (№ %d)";
const char* const kAddedAnnex = "Анекс %d към по-рано записания договор %s (№ %d)";
const char* const kFileLink = "Връзка към файл %s";
const char* const kPerson = "Лице %s (№ %d)";
const char* const kProperty = "Имот %s (№ %d)";
const char* const kEntry = "Запис „%s“ в класификатор %s (№ %d)";

}  // namespace

std::string OutcomeText(const RunRecord& record) {
  if (!record.Finished()) return kUnfinished;
  const auto it = kOutcomes.find(record.outcome);
  return it == kOutcomes.end() ? record.outcome : it->second;
}

std::string ItemText(const DescribedItem& d) {
  const TraceItem& item = d.item;
  const char* text = d.text.c_str();
  switch (item.kind) {
    case TraceKind::kContract:
      return Format(kContract, text, item.id);
    case TraceKind::kAddedAnnex:
      return Format(kAddedAnnex, item.number, text, item.id);
    case TraceKind::kFileLink:
      return Format(kFileLink, text);
    case TraceKind::kPerson:
      return Format(kPerson, text, item.id);
    case TraceKind::kProperty:
      return Format(kProperty, text, item.id);
    case TraceKind::kEntry:
      return Format(kEntry, text, item.table.c_str(), item.id);
  }
  return {};
}

}  // namespace zrv::import
