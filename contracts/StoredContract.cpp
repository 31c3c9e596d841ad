#include "contracts/StoredContract.h"

#include <cmath>
#include <initializer_list>
#include <memory>

#include "common/Dates.h"
#include "common/Text.h"
#include "contracts/StatementText.h"
#include "contracts/StoredKeyText.h"

namespace zrv::contracts {
namespace {

const char* const kSameContract =
    "SELECT FIRST 1 d.doc_id FROM documents d\n"
    "JOIN imot i ON i.im_id = d.doc_imotid\n"
    "WHERE d.doc_type = :doc_type AND d.doc_nomtxt = :nomtxt\n"
    " AND d.doc_data = :doc_data AND d.da_if1 = :tenant\n";
const char* const kOnProperty = " AND d.doc_imotid = :imid";
// A property the row would add anew: the stored contract's property must look
// the same in every field the row gives it.
const char* const kOnSameLookingProperty =
    " AND i.im_nm = :nm AND COALESCE(i.im_nmas, 0) = :nmas\n"
    " AND COALESCE(i.im_npar, '') = :npar AND COALESCE(i.im_nn, 0) = :nn\n"
    " AND COALESCE(i.im_ni, 0) = :ni AND COALESCE(i.im_mestnost, -1) = :loc\n"
    " AND COALESCE(i.im_jk, -1) = :jk AND COALESCE(i.im_nulic, -1) = :street\n"
    " AND COALESCE(i.im_addressnom, '') = :addrno\n"
    " AND COALESCE(i.im_address, '') = :addr";

const char* const kSelectTerms =
    "SELECT doc_datastart, doc_datastop, doc_price FROM documents\n"
    "WHERE doc_id = :doc_id";
const char* const kSelectAnnexes =
    "SELECT an_num, an_dtstart, an_price FROM anecs WHERE an_id = :doc_id\n"
    "ORDER BY an_num";

// Characters of contract_keys.ck_key.
constexpr size_t kKeyLength = 1000;
const char* const kHasKeys =
    "SELECT COUNT(*) FROM rdb$relations\n"
    "WHERE rdb$relation_name = 'CONTRACT_KEYS'";
const char* const kClaimKey =
    "INSERT INTO contract_keys (ck_key) VALUES (:ck_key)";
const char* const kTieKey =
    "UPDATE contract_keys SET ck_docid = :docid WHERE ck_key = :ck_key";

}  // namespace

int32_t FindStoredContract(db::Connection& db, const TBaseDoc& contract,
                           const TObektDB& property, int32_t tenantId) {
  if (tenantId == -1) return -1;
  std::unique_ptr<db::Query> query = db.NewQuery();
  const bool stored = contract.PropertyID != -1;
  query->SetSQL(std::string(kSameContract) +
                (stored ? kOnProperty : kOnSameLookingProperty));
  query->SetInteger("doc_type", contract.DocType);
  query->SetString("nomtxt", contract.NumberText);
  query->SetDateTime("doc_data", contract.DocDate);
  query->SetInteger("tenant", tenantId);
  if (stored) {
    query->SetInteger("imid", contract.PropertyID);
  } else {
    query->SetInteger("nm", property.SettlementID);
    query->SetInteger("nmas", property.MasivNo);
    query->SetString("npar", property.NparText);
    query->SetInteger("nn", property.NN);
    query->SetInteger("ni", property.NI);
    query->SetInteger("loc", property.LocalityID);
    query->SetInteger("jk", property.QuarterID);
    query->SetInteger("street", property.StreetID);
    query->SetString("addrno", property.AddressNo);
    query->SetString("addr", property.Address);
  }
  query->Open();
  return query->Eof() ? -1 : query->FieldAt(0).AsInteger();
}

StoredTerms LoadStoredTerms(db::Connection& db, int32_t docId) {
  StoredTerms terms;
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(kSelectTerms);
  query->SetInteger("doc_id", docId);
  query->Open();
  if (query->Eof()) return terms;
  terms.start = std::trunc(query->FieldAt(0).AsDateTime());
  terms.stop = std::trunc(query->FieldAt(1).AsDateTime());
  terms.price = query->FieldAt(2).AsFloat();
  query->SetSQL(kSelectAnnexes);
  query->SetInteger("doc_id", docId);
  for (query->Open(); !query->Eof(); query->Next()) {
    terms.annexes.push_back({query->FieldAt(0).AsInteger(),
                             std::trunc(query->FieldAt(1).AsDateTime()),
                             query->FieldAt(2).AsFloat()});
  }
  return terms;
}

std::string ContractKey(const TBaseDoc& contract, const TObektDB& property,
                        const std::string& tenantNumber) {
  KeyText key;
  key.Add(contract.DocType);
  key.Add(contract.NumberText);
  key.Add(FormatDMY(contract.DocDate));
  key.Add(tenantNumber);
  // The property as the row describes it, found or not: whether a stored
  // property is found depends on what the other workstation has committed by
  // then, so its id would give the two the same row under different keys.
  for (int32_t value : std::initializer_list<int32_t>{
           property.SettlementID, property.MasivNo, property.NN, property.NI,
           property.LocalityID, property.QuarterID, property.StreetID})
    key.Add(value);
  key.Add(property.NparText);
  key.Add(property.AddressNo);
  key.Add(property.Address);
  // Texts of a stored property are not checked when the row reuses it; a key
  // its column cannot hold leaves the row to the look-up alone.
  return FitsTextColumn(key.Text(), kKeyLength) ? key.Text() : std::string();
}

bool HasContractKeys(db::Connection& db) {
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(kHasKeys);
  query->Open();
  return query->FieldAt(0).AsInteger() > 0;
}

bool ClaimContractKey(db::Connection& db, const std::string& key) {
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(kClaimKey);
  query->SetString("ck_key", key);
  try {
    query->Execute();
  } catch (const db::DuplicateKeyError&) {
    return false;
  }
  return true;
}

void TieContractKey(db::Connection& db, const std::string& key, int32_t docId) {
  std::unique_ptr<db::Query> query = db.NewQuery();
  query->SetSQL(kTieKey);
  query->SetInteger("docid", docId);
  query->SetString("ck_key", key);
  query->Execute();
}

}  // namespace zrv::contracts
