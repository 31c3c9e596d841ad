#pragma once
// Many stored contracts made at once inside the database (one EXECUTE BLOCK),
// for the tests and the benchmark of reading many contracts: each with its
// tenant, property, annexes, monthly schedule ending 31.12.2025 and payments.
//
// Plain contracts: 100.00 a month, 10 % fixed yearly interest, one payment a
// month with its detail, paid on the 5th. Varied contracts (`varied`) differ
// by their id: every interest kind, VAT and none, leva and euro, a second
// annex with a free period, an initial payment with a carry, a termination
// date, an interest stop, no payments at all, payments paid ahead; and their
// payments are partial, split, late, four periods at once, refunds, reversals,
// with paid interest and carries, of pay type 1 with and without an invoice;
// with invoices waiting, with and without VAT. Yearly base rates 2018-2024 are
// stored when none are.

#include <string>

#include "platform/db/Database.h"

namespace zrv::test {

struct ContractShape {
  int firstId = 1;
  int count = 1;
  int periods = 36;
  int payments = 24;  // at most `periods`
  bool varied = false;
};

// Stores the contracts in one transaction of its own.
void GenerateContracts(db::Connection& connection, const ContractShape& shape);

}  // namespace zrv::test
