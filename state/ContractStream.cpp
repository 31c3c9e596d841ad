#include "state/ContractStream.h"

#include <algorithm>

namespace zrv::state {

namespace {

// Contracts of the first range, before the rows of a contract are known.
constexpr size_t kFirstBatch = 100;
constexpr size_t kLeastBatch = 16;
constexpr size_t kMostBatch = 5000;
// A range spans at most this many ids per contract it holds: the tables are
// read by id range, so a sparse selection (one tenant's contracts) must not
// read the rows of every contract between them.
constexpr int64_t kSpanPerContract = 4;

uint64_t PaymentKey(int32_t contractId, int32_t number) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(contractId)) << 32) |
         static_cast<uint32_t>(number);
}

}  // namespace

// A view per query of the open range.
struct ContractStream::Views {
  ContractRows header, annexes, payments, rents, details, waitPayments;
};

ContractStream::ContractStream(db::Connection& connection, const ContractSelection& selection)
    : store_(connection, selection), ids_(store_.SelectedIds()), batchSize_(kFirstBatch) {}

ContractStream::~ContractStream() = default;

void ContractStream::OpenNextBatch() {
  views_.reset();
  batch_ = {};
  // Sized by the rows per contract seen so far.
  const size_t done = next_;
  if (done > 0 && rowsRead_ > 0) {
    batchSize_ =
        std::clamp<size_t>(static_cast<size_t>(static_cast<double>(kBatchRows) * done / rowsRead_),
                           kLeastBatch, kMostBatch);
  }
  const size_t most = std::min(ids_.size(), next_ + batchSize_);
  const int64_t span = static_cast<int64_t>(batchSize_) * kSpanPerContract;
  batchEnd_ = next_ + 1;
  while (batchEnd_ < most && static_cast<int64_t>(ids_[batchEnd_]) - ids_[next_] < span)
    ++batchEnd_;
  batch_ = store_.OpenBatch(ids_[next_], ids_[batchEnd_ - 1]);
  rowsRead_ +=
      batch_.rents->RecordCount() + batch_.payments->RecordCount() + batch_.details->RecordCount();

  unlinked_.clear();
  unlinkedCount_.clear();
  db::Query& unlinked = *batch_.unlinked;
  for (; !unlinked.Eof(); unlinked.Next()) {
    const int32_t id = unlinked.FieldAt(0).AsInteger();
    unlinked_.insert(PaymentKey(id, unlinked.FieldAt(1).AsInteger()));
    ++unlinkedCount_[id];
  }
  // Without payments to leave out, no row needs a look.
  ContractRows::DropFn dropPayment, dropDetail;
  if (!unlinked_.empty()) {
    const auto dropBy = [this](const db::Query& rows, const char* idColumn,
                               const char* numColumn) -> ContractRows::DropFn {
      if (rows.Eof()) return nullptr;
      const db::Field* id = &rows.FieldByName(idColumn);
      const db::Field* num = &rows.FieldByName(numColumn);
      return [this, id, num](const db::Query&) {
        return unlinked_.count(PaymentKey(id->AsInteger(), num->AsInteger())) > 0;
      };
    };
    dropPayment = dropBy(*batch_.payments, "P_ID", "P_NUM");
    dropDetail = dropBy(*batch_.details, "PD_ID", "PD_NUM");
  }
  views_.reset(new Views{
      ContractRows(*batch_.header, "DOC_ID"),
      ContractRows(*batch_.annexes, "AN_ID"),
      ContractRows(*batch_.payments, "P_ID", dropPayment),
      ContractRows(*batch_.rents, "RI_DOCID"),
      ContractRows(*batch_.details, "PD_ID", dropDetail),
      ContractRows(*batch_.waitPayments, "WP_DOCID"),
  });
}

bool ContractStream::Next(TDocInfo& info, ContractFacts& facts) {
  if (next_ >= ids_.size()) return false;
  if (next_ >= batchEnd_) OpenNextBatch();
  const int32_t id = ids_[next_++];
  Views& v = *views_;
  for (ContractRows* rows :
       {&v.header, &v.annexes, &v.payments, &v.rents, &v.details, &v.waitPayments})
    rows->Seek(id);
  // Ids were read earlier in the same snapshot; a contract gone since (read
  // without one) is loaded as the state loads a missing id.
  facts = v.header.Eof() ? ContractFacts{} : DebtorsStore::ReadFacts(v.header);
  facts.id = id;
  const auto unlinked = unlinkedCount_.find(id);
  facts.unlinkedPayments = unlinked == unlinkedCount_.end() ? 0 : unlinked->second;
  info.LoadFrom(id, {v.header, v.annexes, v.payments, v.rents, v.details, v.waitPayments});
  return true;
}

}  // namespace zrv::state
