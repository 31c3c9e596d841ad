#include "import/RowWriter.h"

#include "contracts/RegisterKeys.h"
#include "contracts/store/ContractStore.h"
#include "contracts/store/PersonStore.h"
#include "contracts/store/PropertyStore.h"
#include "import/AnnexJudge.h"
#include "import/FileLinks.h"
#include "schedule/AddAnnex.h"
#include "schedule/AnnexesAsStored.h"
#include "schedule/RebuildSchedule.h"

namespace zrv::import {

RowWriter::RowWriter(ErrorList& errors, ui::Messages& messages,
                     const contracts::RentKinds& rentKinds, RunTrace& trace)
    : errors_(errors), messages_(messages), rentKinds_(rentKinds), trace_(trace) {}

namespace {

// Stores a new person and, when `claim`, claims its identity number (nothing
// of a person with neither name nor number).
int32_t InsertPerson(db::Transaction& tx, const contracts::TPersonSrchRec& person, bool claim,
                     RunTrace& trace) {
  if (person.EGN.empty() && person.Name.empty()) return -1;
  const contracts::PersonStore store(tx);
  const int32_t id = store.Insert(person);
  if (claim && !person.EGN.empty()) store.ClaimKey(person.EGN, id);
  trace.Record(tx, {TraceKind::kPerson, id});
  return id;
}

// Annex 1 as TBaseDoc::Insert writes it: the contract's own price, period and
// terms.
schedule::TAnecsRow FirstAnnex(const contracts::TBaseDoc& contract) {
  schedule::TAnecsRow annex;
  annex.AN_ID = contract.DocID;
  annex.AN_NUM = 1;
  annex.AN_Data = contract.DocDate;
  annex.AN_PRICE = contract.MonthPrice;
  annex.AN_DTStart = contract.StartDate;
  annex.AN_DTStop = contract.StopDate;
  annex.AN_LType = contract.InterestType;
  annex.AN_LPercent = contract.InterestPercent;
  annex.AN_LMAX = contract.InterestMax;
  annex.AN_DDS = contract.VATCode;
  annex.AN_PayDay = static_cast<int16_t>(contract.PayDay);
  annex.AN_FreeDate = contract.StartDate;
  return annex;
}

}  // namespace

AnnexCounts RowWriter::WriteContract(db::Transaction& tx, const ContractRow& row,
                                     RowRecords records, bool claim, const std::string& key,
                                     bool fileLinks) {
  contracts::TBaseDoc& contract = records.contract;
  contracts::TObektDB& property = records.property;
  // A new property or person is claimed by its identity in the row's
  // transaction: another workstation storing the same one at this moment
  // makes one of the two rows fail, and that row is tried again.
  if (contract.PropertyID == -1) {
    property.Insert(tx);
    contract.PropertyID = property.ID;
    trace_.Record(tx, {TraceKind::kProperty, property.ID});
    const std::string propertyKey = contracts::PropertyKey(property);
    if (claim && !propertyKey.empty())
      contracts::PropertyStore(tx).ClaimKey(propertyKey, property.ID);
  }
  contracts::TPersonSrchRec& tenant = records.tenant;
  const contracts::TPersonSrchRec& rep = records.representative;
  tenant.MOL = rep.ID == -1 ? InsertPerson(tx, rep, claim, trace_) : rep.ID;
  contract.TenantID = tenant.ID == -1 ? InsertPerson(tx, tenant, claim, trace_) : tenant.ID;
  contract.Insert(tx);
  trace_.Record(tx, {TraceKind::kContract, contract.DocID});
  if (!key.empty()) contracts::ContractStore(tx).TieKey(key, contract.DocID);
  schedule::AnnexesAsStored annexes;
  annexes.AddFirst(FirstAnnex(contract));
  const AnnexCounts counts = WriteAnnexes(tx, row, contract, annexes);
  if (fileLinks) {
    const int32_t link = AddFileLink(tx, messages_, contract, rentKinds_.RentKindFolder());
    trace_.Record(tx, {TraceKind::kFileLink, contract.PropertyID, link});
  }
  // Built from the annexes just written, not read back.
  schedule::RebuildSchedule(tx, contract.DocID, contract.DocType, annexes.List(), true);
  return counts;
}

AnnexCounts RowWriter::WriteAnnexes(db::Transaction& tx, const ContractRow& row,
                                    const contracts::TBaseDoc& contract,
                                    schedule::AnnexesAsStored& stored) {
  AnnexCounts counts;
  TDate previousStart = contract.StartDate;
  int32_t number = 1;
  for (const AnnexCells& cells : row.annexes) {
    AnnexJudgement judged = JudgeAnnex(cells, contract, contract.DocID, &previousStart);
    judged.annex.AN_NUM = ++number;
    errors_.AddLines(judged.lines, cells.row);
    std::string message;  // a refusal leaves the contract as it is; errors
                          // travel on
    if (judged.ok && schedule::AddAnnex(tx, contract.DocID, judged.annex, false, message)) {
      ++counts.stored;
      previousStart = judged.annex.AN_DTStart;
      stored.Add(judged.annex);
    } else {
      counts.Drop(cells.row);
    }
  }
  return counts;
}

}  // namespace zrv::import
