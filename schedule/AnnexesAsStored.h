#pragma once
// A contract's annexes as the database keeps them once this program has
// inserted them, for building its schedule without reading them back: money as
// its two-decimal text converted to a number, whole days, the pay day decoded
// and the VAT rate looked up as when they are loaded. Annex 1 is stored with
// the contract's stop; a later annex is stored without one, so it stops on the
// contract's stop (which AddAnnex has moved to the annex's stop) and the annex
// before it stops the day before it starts.

#include "common/Dates.h"
#include "schedule/Anecs.h"

namespace zrv::schedule {

class AnnexesAsStored {
 public:
  // Annex 1, stored with its stop.
  void AddFirst(const TAnecsRow& annex);
  // A later annex: it stops on its own stop, the one before it the day before
  // it starts.
  void Add(const TAnecsRow& annex);

  const TAnecses& List() const { return annexes_; }

 private:
  TAnecses annexes_;
};

}  // namespace zrv::schedule
