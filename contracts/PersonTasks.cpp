#include "contracts/PersonTasks.h"

#include <memory>

#include "common/Text.h"
#include "contracts/StatementText.h"
#include "platform/db/Transaction.h"

namespace zrv::contracts {
namespace {

const char* const kMsgNoDatabase = "uPersonTasks: DB not init.";

const char* const kSelectByEgn =
    "SELECT PER_ID FROM PERSONS\n"
    "WHERE PER_EGN = :egn";
const char* const kSelectRepresentative =
    "SELECT M.PER_ID FROM PERSONS P JOIN PERSONS M ON M.PER_ID = P.PER_MOL\n"
    "WHERE P.PER_ID = :per_id AND M.PER_NAME = :name";
// Its values are parameters, so one prepared statement serves every person of
// a run; the registration date goes in as day.month.year text.
const char* const kInsertPerson =
    "INSERT INTO PERSONS(PER_NAME, PER_EGN, PER_DANN, PER_ADDR, PER_NM, "
    "PER_MOL, PER_INDDS,\n"
    " PER_ADDR_CORESP, PER_TDNAP, PER_TDNAP_ADDR, PER_FLAG, PER_FIRMDELO, "
    "PER_TELEFON,\n"
    " PER_PDATA, PER_DATEREG)\n"
    "VALUES(:per_name, :per_egn, :per_dann, :per_addr, :per_nm, :per_mol,\n"
    " :per_indds, :per_addr_coresp, :per_tdnap, :per_tdnap_addr, :per_flag,\n"
    " :per_firmdelo, :per_telefon, :per_pdata, :per_datereg)";
const char* const kSelectNewId = "SELECT MAX(PER_ID) FROM PERSONS";
const char* const kCountUnits =
    "select count(unit_perid) from obunits where unit_perid = :per_id";

}  // namespace

db::Connection& PersonTasks::Database() const {
  if (db_ == nullptr) throw Error(kMsgNoDatabase);
  return *db_;
}

int32_t PersonTasks::FindByEGN(const std::string& egn) const {
  db::Connection& db = Database();
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(kSelectByEgn);
  query->SetString("egn", egn);
  query->Open();
  return query->Eof() ? -1 : query->FieldByName("PER_ID").AsInteger();
}

int32_t PersonTasks::FindRepresentative(int32_t personId,
                                        const std::string& name) const {
  db::Connection& db = Database();
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(kSelectRepresentative);
  query->SetInteger("per_id", personId);
  query->SetString("name", name);
  query->Open();
  return query->Eof() ? -1 : query->FieldAt(0).AsInteger();
}

int32_t PersonTasks::InsertPerson(TPersonSrchRec person) const {
  if (person.EGN.empty() && person.Name.empty()) return -1;
  db::Connection& db = Database();

  const std::string flag =
      person.Flag == '\0' ? std::string() : std::string(1, person.Flag);
  db::OwnTransaction transaction(db);
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(kInsertPerson);
  query->SetString("per_name", StorableText("PER_NAME", person.Name));
  query->SetString("per_egn", StorableText("PER_EGN", person.EGN));
  query->SetString("per_dann", StorableText("PER_DANN", person.Dann));
  query->SetString("per_addr", StorableText("PER_ADDR", person.Addr));
  query->SetString("per_nm", StorableText("PER_NM", person.NM));
  query->SetInteger("per_mol", person.MOL);
  query->SetString("per_indds", StorableText("PER_INDDS", person.InDDS));
  query->SetString("per_addr_coresp",
                   StorableText("PER_ADDR_CORESP", person.AddrCoresp));
  query->SetString("per_tdnap", StorableText("PER_TDNAP", person.TDNap));
  query->SetString("per_tdnap_addr",
                   StorableText("PER_TDNAP_ADDR", person.TDNapAddr));
  query->SetString("per_flag", StorableText("PER_FLAG", flag));
  query->SetString("per_firmdelo",
                   StorableText("PER_FIRMDELO", person.FirmDelo));
  query->SetString("per_telefon", StorableText("PER_TELEFON", person.Telefon));
  query->SetString("per_pdata", StorableText("PER_PDATA", person.PData));
  query->SetString("per_datereg", FormatDMY(person.DateReg));
  query->Execute();
  query->SetSQL(kSelectNewId);
  query->Open();
  const int32_t id = query->FieldAt(0).AsInteger();
  query->Close();
  transaction.Commit();
  return id;
}

bool PersonTasks::HasObjectUnits(int32_t personId) const {
  db::Connection& db = Database();
  db::OwnTransaction transaction(db);
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(kCountUnits);
  query->SetInteger("per_id", personId);
  query->Open();
  const int32_t count = query->FieldAt(0).AsInteger();
  query->Close();
  transaction.Commit();
  return count > 0;
}

}  // namespace zrv::contracts
