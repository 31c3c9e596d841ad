#include "import/store/EntryTables.h"

namespace zrv::import {
namespace {

// The columns that hold an entry's id: a property's settlement, locality,
// quarter and street, a settlement's municipality, a contract's rent type. An
// object type is used by its text (a contract's DA_OBJTYPE) and by a rent
// type's default.
const EntryTable kTables[] = {
    {"obsh_kl", "SELECT ob_text FROM obsh_kl WHERE ob_id = :id",
     "SELECT COUNT(*) FROM nm_kl WHERE nm_obid = :id", "DELETE FROM obsh_kl WHERE ob_id = :id"},
    {"nm_kl", "SELECT nm_text FROM nm_kl WHERE nm_id = :id",
     "SELECT COUNT(*) FROM imot WHERE im_nm = :id", "DELETE FROM nm_kl WHERE nm_id = :id"},
    {"me_kl", "SELECT me_text FROM me_kl WHERE me_id = :id",
     "SELECT COUNT(*) FROM imot WHERE im_mestnost = :id", "DELETE FROM me_kl WHERE me_id = :id"},
    {"jk_kl", "SELECT jk_text FROM jk_kl WHERE jk_id = :id",
     "SELECT COUNT(*) FROM imot WHERE im_jk = :id", "DELETE FROM jk_kl WHERE jk_id = :id"},
    {"ul_kl", "SELECT ul_text FROM ul_kl WHERE ul_id = :id",
     "SELECT COUNT(*) FROM imot WHERE im_nulic = :id", "DELETE FROM ul_kl WHERE ul_id = :id"},
    {"objtype_kl", "SELECT ot_text FROM objtype_kl WHERE ot_id = :id",
     "SELECT (SELECT COUNT(*) FROM documents d, objtype_kl o"
     " WHERE o.ot_id = :id AND UPPER(d.da_objtype) = UPPER(o.ot_text))"
     " + (SELECT COUNT(*) FROM renttypes WHERE rt_objtype = :id)"
     " FROM RDB$DATABASE",
     "DELETE FROM objtype_kl WHERE ot_id = :id"},
    {"renttypes", "SELECT rt_text FROM renttypes WHERE rt_id = :id",
     "SELECT COUNT(*) FROM documents WHERE da_rf1 = :id",
     "DELETE FROM renttypes WHERE rt_id = :id"},
};

}  // namespace

const EntryTable* FindEntryTable(const std::string& name) {
  for (const EntryTable& table : kTables)
    if (name == table.name) return &table;
  return nullptr;
}

}  // namespace zrv::import
