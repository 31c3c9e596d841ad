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
const char* const kInsertPerson =
    "INSERT INTO PERSONS(PER_NAME, PER_EGN, PER_DANN, PER_ADDR, PER_NM, "
    "PER_MOL, PER_INDDS,\n"
    " PER_ADDR_CORESP, PER_TDNAP, PER_TDNAP_ADDR, PER_FLAG, PER_FIRMDELO, "
    "PER_TELEFON,\n"
    " PER_PDATA, PER_DATEREG)\n"
    "VALUES(\"%s\", \"%s\", \"%s\", \"%s\", \"%s\", %d, \"%s\",\n"
    " \"%s\", \"%s\", \"%s\", \"%s\", \"%s\", \"%s\",\n"
    " \"%s\", \"%s\")";
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
  const std::string sql =
      Format(kInsertPerson, QuotedText("PER_NAME", person.Name).c_str(),
             QuotedText("PER_EGN", person.EGN).c_str(),
             QuotedText("PER_DANN", person.Dann).c_str(),
             QuotedText("PER_ADDR", person.Addr).c_str(),
             QuotedText("PER_NM", person.NM).c_str(), person.MOL,
             QuotedText("PER_INDDS", person.InDDS).c_str(),
             QuotedText("PER_ADDR_CORESP", person.AddrCoresp).c_str(),
             QuotedText("PER_TDNAP", person.TDNap).c_str(),
             QuotedText("PER_TDNAP_ADDR", person.TDNapAddr).c_str(),
             QuotedText("PER_FLAG", flag).c_str(),
             QuotedText("PER_FIRMDELO", person.FirmDelo).c_str(),
             QuotedText("PER_TELEFON", person.Telefon).c_str(),
             QuotedText("PER_PDATA", person.PData).c_str(),
             FormatDMY(person.DateReg).c_str());

  db::OwnTransaction transaction(db);
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(sql);
  query->Execute();
  query->Close();
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
