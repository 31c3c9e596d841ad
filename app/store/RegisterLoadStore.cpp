#include "app/store/RegisterLoadStore.h"

#include <memory>

#include "common/Text.h"

namespace zrv::app {
namespace {

// 1: the table, 2: its columns, 3: their parameters, named as the columns.
const char* const kInsert = "INSERT INTO %s (%s) VALUES (%s)";

}  // namespace

void RegisterLoadStore::Insert(const std::string& table, const std::vector<std::string>& columns,
                               const std::vector<std::vector<std::string>>& rows) const {
  std::string names, params;
  for (const std::string& column : columns) {
    names += (names.empty() ? "" : ", ") + column;
    params += (params.empty() ? ":" : ", :") + column;
  }
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(Format(kInsert, table.c_str(), names.c_str(), params.c_str()));
  for (const std::vector<std::string>& values : rows) {
    for (size_t c = 0; c < columns.size(); ++c) query->SetString(columns[c], values[c]);
    query->Execute();
  }
}

}  // namespace zrv::app
