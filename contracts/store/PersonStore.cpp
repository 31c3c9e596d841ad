#include "contracts/store/PersonStore.h"

#include <memory>

#include "common/Dates.h"
#include "contracts/StatementText.h"

namespace zrv::contracts {
namespace {

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
const char* const kCountUnits = "select count(unit_perid) from obunits where unit_perid = :per_id";
const char* const kClaimKey = "INSERT INTO person_keys (pk_egn, pk_perid) VALUES (:egn, :perid)";

}  // namespace

int32_t PersonStore::FindByEgn(const std::string& egn) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectByEgn);
  query->SetString("egn", egn);
  query->Open();
  return query->Eof() ? -1 : query->FieldByName("PER_ID").AsInteger();
}

int32_t PersonStore::FindRepresentative(int32_t personId, const std::string& name) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kSelectRepresentative);
  query->SetInteger("per_id", personId);
  query->SetString("name", name);
  query->Open();
  return query->Eof() ? -1 : query->FieldAt(0).AsInteger();
}

int32_t PersonStore::Insert(const TPersonSrchRec& person) const {
  const std::string flag = person.Flag == '\0' ? std::string() : std::string(1, person.Flag);
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kInsertPerson);
  query->SetString("per_name", StorableText("PER_NAME", person.Name));
  query->SetString("per_egn", StorableText("PER_EGN", person.EGN));
  query->SetString("per_dann", StorableText("PER_DANN", person.Dann));
  query->SetString("per_addr", StorableText("PER_ADDR", person.Addr));
  query->SetString("per_nm", StorableText("PER_NM", person.NM));
  query->SetInteger("per_mol", person.MOL);
  query->SetString("per_indds", StorableText("PER_INDDS", person.InDDS));
  query->SetString("per_addr_coresp", StorableText("PER_ADDR_CORESP", person.AddrCoresp));
  query->SetString("per_tdnap", StorableText("PER_TDNAP", person.TDNap));
  query->SetString("per_tdnap_addr", StorableText("PER_TDNAP_ADDR", person.TDNapAddr));
  query->SetString("per_flag", StorableText("PER_FLAG", flag));
  query->SetString("per_firmdelo", StorableText("PER_FIRMDELO", person.FirmDelo));
  query->SetString("per_telefon", StorableText("PER_TELEFON", person.Telefon));
  query->SetString("per_pdata", StorableText("PER_PDATA", person.PData));
  query->SetString("per_datereg", FormatDMY(person.DateReg));
  query->Execute();
  query->SetSQL(kSelectNewId);
  query->Open();
  return query->FieldAt(0).AsInteger();
}

int32_t PersonStore::CountObjectUnits(int32_t personId) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kCountUnits);
  query->SetInteger("per_id", personId);
  query->Open();
  return query->FieldAt(0).AsInteger();
}

void PersonStore::ClaimKey(const std::string& egn, int32_t personId) const {
  std::unique_ptr<db::Query> query = tx_.NewQuery();
  query->SetSQL(kClaimKey);
  query->SetString("egn", egn);
  query->SetInteger("perid", personId);
  query->Execute();
}

}  // namespace zrv::contracts
