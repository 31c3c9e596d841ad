#pragma once
// A fresh database for the rent schedule tests, with helpers that store
// contracts, annexes and rent rows by plain statements and read the stored
// schedule back.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/Dates.h"
#include "common/Text.h"
#include "tests/support/TestDatabase.h"

namespace zrv::test {

inline TDate D(int day, int month, int year) { return EncodeDate(year, month, day); }

// One stored RENTSINFO row; the start as "dd.mm.yyyy".
struct StoredRent {
  int month = 0, days = 0;
  double price = 0, carried = 0;
  std::string start;
};

class ScheduleTest : public ::testing::Test {
 protected:
  // A contract of `type` from `start` to `stop`; gives its id.
  int Contract(int type, TDate start, TDate stop) {
    db.Exec(
        Format("insert into documents (doc_type, doc_datastart, doc_datastop) values "
               "(%d, \"%s\", \"%s\")",
               type, FormatDMY(start).c_str(), FormatDMY(stop).c_str()));
    return db.ScalarInt("select max(doc_id) from documents");
  }
  void Annex(int docId, int num, double price, TDate start, TDate stop, double addPrice = 0) {
    db.Exec(
        Format("insert into anecs (an_id, an_num, an_price, an_addprice, an_dtstart, "
               "an_dtstop) values (%d, %d, %.4f, %.4f, \"%s\", \"%s\")",
               docId, num, price, addPrice, FormatDMY(start).c_str(), FormatDMY(stop).c_str()));
  }
  // A contract with one annex over its whole term.
  int OneAnnexContract(int type, double price, TDate start, TDate stop, double addPrice = 0) {
    const int id = Contract(type, start, stop);
    Annex(id, 1, price, start, stop, addPrice);
    return id;
  }
  void StoreRent(int docId, int year, int month, double price, double carried = 0) {
    db.Exec(
        Format("insert into rentsinfo (ri_docid, ri_year, ri_month, ri_days, "
               "ri_price, "
               "ri_dtstart, ri_carried) values (%d, %d, %d, 1, %.2f, "
               "\"01.%02d.%04d\", %.2f)",
               docId, year, month, price, month, year, carried));
  }
  // Rows matching a condition of a table, e.g. Count("documents", "doc_id =
  // 3").
  int Count(const char* table, const std::string& where) {
    return db.ScalarInt(Format("select count(*) from %s where %s", table, where.c_str()));
  }

  std::vector<StoredRent> Rents(int docId) {
    std::unique_ptr<db::Query> query = db.Connection().NewQuery();
    query->SetSQL(
        Format("select * from rentsinfo where ri_docid = %d order by ri_year, "
               "ri_month",
               docId));
    query->Open();
    std::vector<StoredRent> rows;
    for (; !query->Eof(); query->Next())
      rows.push_back(
          {query->FieldByName("RI_MONTH").AsInteger(), query->FieldByName("RI_DAYS").AsInteger(),
           query->FieldByName("RI_PRICE").AsFloat(), query->FieldByName("RI_CARRIED").AsFloat(),
           FormatDMY(query->FieldByName("RI_DTSTART").AsDateTime())});
    return rows;
  }

  TestDatabase db;
};

}  // namespace zrv::test
