#pragma once
// The run history in words, the same for `zorvit runs` and the window's
// history: how a run ended, and a line for each thing it stored.

#include <string>

#include "import/RunRecord.h"
#include "import/store/RunStore.h"

namespace zrv::import {

// "завършено", "прекъснато", ... ; "незавършено" for a run without an end
// (at work, or its program was killed); "отменено" is not part of it.
std::string OutcomeText(const RunRecord& record);

// "Договор 15/2007 (№ 12)", "Лице Иван Петров (№ 7)", ...
std::string ItemText(const DescribedItem& item);

}  // namespace zrv::import
