#include "import/store/UndoStore.h"

#include <memory>

#include "import/store/EntryTables.h"

namespace zrv::import {
namespace {

const char* const kCountContract = "SELECT COUNT(*) FROM documents WHERE doc_id = :id";
const char* const kCountPayments = "SELECT COUNT(*) FROM payment WHERE p_id = :id";
const char* const kCountInvoices = "SELECT COUNT(*) FROM waitpayments WHERE wp_docid = :id";
const char* const kSelectLaterRuns =
    "SELECT DISTINCT i.it_run FROM import_run_items i\n"
    "JOIN import_runs r ON r.run_id = i.it_run\n"
    "WHERE i.it_kind = 2 AND i.it_id = :id AND i.it_run <> :run"
    " AND r.run_undone IS NULL\n"
    "ORDER BY 1";
const char* const kSelectLastAnnex = "SELECT MAX(an_num) FROM anecs WHERE an_id = :id";

const char* const kDeleteAnnex = "DELETE FROM anecs WHERE an_id = :id AND an_num = :num";
const char* const kRestorePreviousStop =
    "UPDATE anecs SET an_dtstop = :stop WHERE an_id = :id AND an_num ="
    " (SELECT MAX(an_num) FROM anecs WHERE an_id = :id AND an_num < :num)";
const char* const kRestoreContractTerm =
    "UPDATE documents SET doc_datastop = :stop, da_if2 = :term"
    " WHERE doc_id = :id";

const char* const kDeleteSchedule = "DELETE FROM rentsinfo WHERE ri_docid = :id";
const char* const kDeleteAnnexes = "DELETE FROM anecs WHERE an_id = :id";
const char* const kDeleteCharacteristics = "DELETE FROM characteristics_doc WHERE cd_docid = :id";
const char* const kDeleteContract = "DELETE FROM documents WHERE doc_id = :id";
const char* const kDeleteFileLink = "DELETE FROM storage WHERE st_id = :id AND st_num = :num";

// A person is used as a contract's tenant, as another person's
// representative, and by a property's units.
const char* const kCountPersonUses =
    "SELECT (SELECT COUNT(*) FROM documents WHERE da_if1 = :id)"
    " + (SELECT COUNT(*) FROM persons WHERE per_mol = :id AND per_id <> :id)"
    " + (SELECT COUNT(*) FROM obunits WHERE unit_perid = :id)"
    " FROM RDB$DATABASE";
// A property is used by a contract, by its units and by file links.
const char* const kCountPropertyUses =
    "SELECT (SELECT COUNT(*) FROM documents WHERE doc_imotid = :id)"
    " + (SELECT COUNT(*) FROM obunits WHERE unit_imid = :id)"
    " + (SELECT COUNT(*) FROM storage WHERE st_id = :id)"
    " FROM RDB$DATABASE";
const char* const kDeletePerson = "DELETE FROM persons WHERE per_id = :id";
const char* const kDeleteProperty = "DELETE FROM imot WHERE im_id = :id";

}  // namespace

int32_t UndoStore::Count(const char* sql, int32_t id) const {
  std::unique_ptr<db::Query> q = tx_.NewQuery();
  q->SetSQL(sql);
  q->SetInteger("id", id);
  q->Open();
  return q->Eof() ? 0 : q->FieldAt(0).AsInteger();
}

void UndoStore::Run(const char* sql, int32_t id) const {
  std::unique_ptr<db::Query> q = tx_.NewQuery();
  q->SetSQL(sql);
  q->SetInteger("id", id);
  q->Execute();
}

bool UndoStore::ContractExists(int32_t docId) const { return Count(kCountContract, docId) > 0; }

int32_t UndoStore::PaymentCount(int32_t docId) const { return Count(kCountPayments, docId); }

int32_t UndoStore::InvoiceCount(int32_t docId) const { return Count(kCountInvoices, docId); }

std::vector<int32_t> UndoStore::LaterRunsWithAnnexes(int32_t docId, int32_t runId) const {
  std::unique_ptr<db::Query> q = tx_.NewQuery();
  q->SetSQL(kSelectLaterRuns);
  q->SetInteger("id", docId);
  q->SetInteger("run", runId);
  std::vector<int32_t> runs;
  for (q->Open(); !q->Eof(); q->Next()) runs.push_back(q->FieldAt(0).AsInteger());
  return runs;
}

int32_t UndoStore::LastAnnexNumber(int32_t docId) const { return Count(kSelectLastAnnex, docId); }

void UndoStore::RemoveAddedAnnex(const TraceItem& annex) const {
  std::unique_ptr<db::Query> q = tx_.NewQuery();
  q->SetSQL(kDeleteAnnex);
  q->SetInteger("id", annex.id);
  q->SetInteger("num", annex.number);
  q->Execute();
  if (annex.oldPreviousStop != 0) {
    q->SetSQL(kRestorePreviousStop);
    q->SetInteger("id", annex.id);
    q->SetInteger("num", annex.number);
    q->SetDateTime("stop", annex.oldPreviousStop);
    q->Execute();
  }
  q->SetSQL(kRestoreContractTerm);
  q->SetInteger("id", annex.id);
  if (annex.oldStop != 0)
    q->SetDateTime("stop", annex.oldStop);
  else
    q->SetNull("stop");
  if (annex.oldTerm)
    q->SetInteger("term", *annex.oldTerm);
  else
    q->SetNull("term");
  q->Execute();
}

void UndoStore::RemoveContract(int32_t docId) const {
  for (const char* sql : {kDeleteSchedule, kDeleteAnnexes, kDeleteCharacteristics, kDeleteContract})
    Run(sql, docId);
}

void UndoStore::RemoveFileLink(int32_t propertyId, int32_t number) const {
  std::unique_ptr<db::Query> q = tx_.NewQuery();
  q->SetSQL(kDeleteFileLink);
  q->SetInteger("id", propertyId);
  q->SetInteger("num", number);
  q->Execute();
}

int32_t UndoStore::PersonUses(int32_t personId) const { return Count(kCountPersonUses, personId); }

int32_t UndoStore::PropertyUses(int32_t propertyId) const {
  return Count(kCountPropertyUses, propertyId);
}

int32_t UndoStore::EntryUses(const std::string& table, int32_t id) const {
  const EntryTable* entry = FindEntryTable(table);
  return entry ? Count(entry->countUses, id) : -1;
}

void UndoStore::RemovePerson(int32_t personId) const { Run(kDeletePerson, personId); }

void UndoStore::RemoveProperty(int32_t propertyId) const { Run(kDeleteProperty, propertyId); }

void UndoStore::RemoveEntry(const std::string& table, int32_t id) const {
  const EntryTable* entry = FindEntryTable(table);
  if (entry) Run(entry->deleteEntry, id);
}

}  // namespace zrv::import
