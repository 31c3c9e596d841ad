#include "cli/OutputForm.h"

#include <algorithm>

namespace zrv::cli {

namespace {
struct Named {
  const char* name;
  OutputForm form;
};
constexpr Named kForms[] = {{"text", OutputForm::kText},
                            {"csv", OutputForm::kCsv},
                            {"json", OutputForm::kJson},
                            {"xlsx", OutputForm::kXlsx}};
const char* const kFormatOption = "format";
}  // namespace

OutputForm ReadOutputForm(const ParsedArgs& args, std::initializer_list<OutputForm> allowed,
                          const std::string& badMessage) {
  if (!args.Has(kFormatOption)) return OutputForm::kText;
  const std::string text = args.Value(kFormatOption);
  for (const Named& named : kForms) {
    if (text == named.name &&
        std::find(allowed.begin(), allowed.end(), named.form) != allowed.end())
      return named.form;
  }
  throw UsageError(badMessage + text);
}

}  // namespace zrv::cli
