#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "contracts/AppIdentifier.h"
#include "contracts/RentTypes.h"
#include "contracts/store/ContractStore.h"
#include "import/Classifiers.h"
#include "import/EntryTransactions.h"
#include "platform/db/Firebird.h"
#include "platform/db/Transaction.h"
#include "tests/support/RecordingMessages.h"
#include "tests/support/TestDatabase.h"

namespace zrv::import {
namespace {

class ClassifierTest : public ::testing::Test {
 protected:
  ClassifierTest() { rentTypes.LoadRentTypes(db.Connection(), kAppID, messages); }

  int Count(const std::string& table, const std::string& where = "1 = 1") {
    return db.ScalarInt("SELECT COUNT(*) FROM " + table + " WHERE " + where);
  }

  test::TestDatabase db;
  test::RecordingMessages messages;
  ImportRunState state;
  contracts::RentTypeTable rentTypes;
  // Look-ups run in the connection's open transaction (or on their own when
  // none is open), entries in short transactions of their own.
  db::OpenTransaction open{db.Connection()};
  ShortTransactions entries{db.Connection()};
  Classifiers classifiers{entries, messages, state, rentTypes};
  contracts::ContractStore documents{open};
};

TEST_F(ClassifierTest, FoundWhateverTheLetterCaseOrAddedWithTheNextId) {
  db.Exec("INSERT INTO ul_kl (ul_id, ul_text) VALUES (5, 'УЛ. ПЛИСКА')");
  EXPECT_EQ(classifiers.GetStreetID(open, "ул. Плиска"), 5);
  EXPECT_EQ(Count("ul_kl"), 1);

  EXPECT_EQ(classifiers.GetLocalityID(open, "Сарая"),
            1);  // an empty table starts at 1
  EXPECT_EQ(classifiers.GetLocalityID(open, "САРАЯ"), 1);
  EXPECT_EQ(classifiers.GetLocalityID(open, "Лозята"), 2);
  EXPECT_EQ(db.Scalar("SELECT me_text FROM me_kl WHERE me_id = 1"), "Сарая");
  EXPECT_EQ(Count("me_kl"), 2);

  db.Exec("INSERT INTO jk_kl (jk_id, jk_text) VALUES (41, 'Дружба')");
  EXPECT_EQ(classifiers.GetQuarterID(open, "Възраждане"), 42);

  // Object types are looked up within this application; the next id counts all
  // of them.
  db.Exec(
      "INSERT INTO objtype_kl (ot_id, ot_text, ot_app) VALUES (7, 'Магазин', "
      "2)");
  EXPECT_EQ(classifiers.GetObjectTypeID(open, "магазин"), 8);
  EXPECT_EQ(db.ScalarInt("SELECT ot_app FROM objtype_kl WHERE ot_id = 8"), 1);
  EXPECT_EQ(classifiers.GetObjectTypeID(open, "МАГАЗИН"), 8);

  // Ids past the 16-bit property columns are refused before anything is
  // written.
  db.Exec("INSERT INTO ul_kl (ul_id, ul_text) VALUES (32767, 'Последна')");
  EXPECT_THROW(classifiers.GetStreetID(open, "Нова"), Error);
  EXPECT_EQ(Count("ul_kl"), 2);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_FALSE(db.Connection().InTransaction());
}

TEST_F(ClassifierTest, MunicipalityIsCheckedAgainstTheRegisterAndAddedAsTyped) {
  const int before = Count("obsh_kl");
  ASSERT_TRUE(classifiers.CheckMunicipality(open, "русе"));
  EXPECT_EQ(state.MunicipalityName, "русе");
  EXPECT_EQ(state.MunicipalityEKNM, "63427");
  EXPECT_EQ(state.MunicipalityCode, "RSE27");
  EXPECT_EQ(Count("obsh_kl"), before + 1);
  EXPECT_EQ(db.Scalar("SELECT ob_text FROM obsh_kl WHERE ob_id = " +
                      std::to_string(state.MunicipalityID)),
            "русе");

  const int32_t id = state.MunicipalityID;
  ASSERT_TRUE(classifiers.CheckMunicipality(open, "РУСЕ"));
  EXPECT_EQ(state.MunicipalityID, id);
  EXPECT_EQ(Count("obsh_kl"), before + 1);
  EXPECT_TRUE(messages.shown.empty());

  EXPECT_FALSE(classifiers.CheckMunicipality(open, "Атлантида"));
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Невалидна община"});
  EXPECT_EQ(state.MunicipalityName, "РУСЕ");  // a refused name changes nothing
  EXPECT_EQ(state.MunicipalityCode, "RSE27");
  EXPECT_EQ(Count("obsh_kl"), before + 1);
}

TEST_F(ClassifierTest, SettlementResolvesToTheRegisterName) {
  ASSERT_TRUE(classifiers.CheckMunicipality(open, "Русе"));
  classifiers.LoadSettlements(open);
  EXPECT_EQ(state.Settlements.size(), 14u);

  std::string text = "с. Николово";
  const int32_t id = classifiers.GetSettlementID(open, text);
  EXPECT_EQ(text, "Николово");
  const std::string row = "nm_id = " + std::to_string(id);
  EXPECT_EQ(db.Scalar("SELECT nm_text FROM nm_kl WHERE " + row), "Николово");
  EXPECT_EQ(db.Scalar("SELECT nm_eknm FROM nm_kl WHERE " + row), "51679");
  EXPECT_EQ(db.ScalarInt("SELECT nm_obid FROM nm_kl WHERE " + row), state.MunicipalityID);
  EXPECT_EQ(db.Scalar("SELECT nm_obtext FROM nm_kl WHERE " + row), "Русе");

  std::string again = "С. НИКОЛОВО, до спирката";
  EXPECT_EQ(classifiers.GetSettlementID(open, again), id);
  EXPECT_EQ(Count("nm_kl"), 1);
}

TEST_F(ClassifierTest, SettlementOutsideTheRegisterIsAddedAsWrittenWithoutEknm) {
  ASSERT_TRUE(classifiers.CheckMunicipality(open, "Русе"));
  classifiers.LoadSettlements(open);
  // A double quote in the name must not break the look-up.
  std::string text = "Вилна зона \"Лозята\"";
  const int32_t id = classifiers.GetSettlementID(open, text);
  EXPECT_EQ(text, "Вилна зона \"Лозята\"");
  EXPECT_EQ(db.Scalar("SELECT nm_text FROM nm_kl WHERE nm_id = " + std::to_string(id)), text);
  EXPECT_EQ(db.Scalar("SELECT nm_eknm FROM nm_kl WHERE nm_id = " + std::to_string(id)), "");
  std::string upper = "ВИЛНА ЗОНА \"ЛОЗЯТА\"";
  EXPECT_EQ(classifiers.GetSettlementID(open, upper), id);
  EXPECT_EQ(Count("nm_kl"), 1);

  std::string blank = "  ";
  EXPECT_EQ(classifiers.GetSettlementID(open, blank), -1);
  EXPECT_EQ(Count("nm_kl"), 1);

  // The first register name occurring in the text wins, even inside a longer
  // name.
  state.Settlements = {{"1", ""}, {"2", "Ново"}, {"3", "Ново село"}};
  EXPECT_EQ(classifiers.FindSettlement("с. НОВО СЕЛО"), 1);
  EXPECT_EQ(classifiers.FindSettlement("Тетово"), -1);
}

TEST_F(ClassifierTest, NewRentTypeIsFoundAgainWithoutASecondRow) {
  const int before = Count("renttypes");
  const int32_t expected = db.ScalarInt("SELECT MAX(rt_id) FROM renttypes") + 1;
  EXPECT_EQ(classifiers.GetRentTypeID("Наем гараж"), expected);
  EXPECT_EQ(db.ScalarInt("SELECT rt_app FROM renttypes WHERE rt_id = " + std::to_string(expected)),
            1);
  EXPECT_EQ(classifiers.GetRentTypeID("НАЕМ ГАРАЖ"), expected);
  EXPECT_EQ(classifiers.GetRentTypeID("наем гараж"), expected);
  EXPECT_EQ(Count("renttypes"), before + 1);
  EXPECT_GE(rentTypes.FindRentType("Наем Гараж"), 0);
}

TEST_F(ClassifierTest, PropertyOfTheLastStoredDocumentWithTheNumber) {
  db.Exec(
      "INSERT INTO documents (doc_type, doc_nomtxt, doc_imotid) VALUES (10, "
      "'А-15', 7)");
  db.Exec(
      "INSERT INTO documents (doc_type, doc_nomtxt, doc_imotid) VALUES (10, "
      "'А-15', 9)");
  db.Exec(
      "INSERT INTO documents (doc_type, doc_nomtxt, doc_imotid) VALUES (1002, "
      "'Б-2', 4)");
  db.Exec(
      "INSERT INTO documents (doc_type, doc_nomtxt, doc_imotid) VALUES (12, "
      "'В-3', 5)");
  EXPECT_EQ(documents.PropertyOfDocument("А-15"), 9);
  EXPECT_EQ(documents.PropertyOfDocument("Б-2"),
            -1);  // contracts do not count
  EXPECT_EQ(documents.PropertyOfDocument("В-3"), 5);
  EXPECT_EQ(documents.PropertyOfDocument("в-3"), -1);  // plain equality
  EXPECT_EQ(documents.PropertyOfDocument(""), -1);
}

// Each find-or-add whose insert fails (a check constraint refuses the text):
// the insert is rolled back, the table's message is shown, the error reaches
// the caller, and no row is left.
TEST_F(ClassifierTest, FailedInsertRollsBackShowsTheTablesMessageAndRaises) {
  ASSERT_TRUE(classifiers.CheckMunicipality(open, "Русе"));
  const struct {
    const char* table;
    const char* column;
    const char* message;
    std::function<void()> call;
  } cases[] = {
      {"me_kl", "me_text", "Проблем при записа на местност",
       [&] { classifiers.GetLocalityID(open, "ЛОШО"); }},
      {"jk_kl", "jk_text", "Проблем при записа на ЖК",
       [&] { classifiers.GetQuarterID(open, "ЛОШО"); }},
      {"ul_kl", "ul_text", "Проблем при записа на Улица",
       [&] { classifiers.GetStreetID(open, "ЛОШО"); }},
      {"objtype_kl", "ot_text", "Проблем при записа на вид обект",
       [&] { classifiers.GetObjectTypeID(open, "ЛОШО"); }},
      {"renttypes", "rt_text", "Проблем при записа на вид имот",
       [&] { classifiers.GetRentTypeID("ЛОШО"); }},
      {"nm_kl", "nm_text", "Проблем при записа на населено място",
       [&] {
         std::string text = "ЛОШО";
         classifiers.GetSettlementID(open, text);
       }},
      {"obsh_kl", "ob_text", "Проблем при записа на вид имот",
       [&] { classifiers.CheckMunicipality(open, "Лошо"); }},
  };
  db.Exec(
      "INSERT INTO obsh_tbl (ob_name, eknm, ob_code) VALUES ('Лошо', '99999', "
      "'ZZZ99')");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.table);
    db.Exec(std::string("ALTER TABLE ") + c.table + " ADD CONSTRAINT refuse_" + c.table +
            " CHECK (UPPER(" + c.column + ") <> 'ЛОШО')");
    const int before = Count(c.table);
    messages.shown.clear();
    EXPECT_THROW(c.call(), db::DbError);
    EXPECT_EQ(messages.shown, std::vector<std::string>{c.message});
    EXPECT_FALSE(db.Connection().InTransaction());
    EXPECT_EQ(Count(c.table), before);
  }
  EXPECT_EQ(rentTypes.FindRentType("ЛОШО"), -1);
}

// Short transactions that fail to commit once they hold a new street, as a
// refused commit does.
class FailingCommits : public EntryTransactions {
 public:
  explicit FailingCommits(db::Connection& connection) : inner_(connection) {}
  void Apart(const std::function<void(db::Transaction&)>& work) override {
    inner_.Apart([&](db::Transaction& tx) {
      work(tx);
      auto streets = tx.NewQuery();
      streets->SetSQL("SELECT COUNT(*) FROM ul_kl");
      streets->Open();
      if (streets->FieldAt(0).AsInteger() > 0) throw db::DbError("commit refused");
    });
  }

 private:
  ShortTransactions inner_;
};

TEST_F(ClassifierTest, InsertTransactions) {
  FailingCommits failing(db.Connection());
  Classifiers onFailing(failing, messages, state, rentTypes);
  EXPECT_THROW(onFailing.GetStreetID(open, "Нова"), db::DbError);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Проблем при записа на Улица"});
  EXPECT_FALSE(db.Connection().InTransaction());  // the failed commit was rolled back
  EXPECT_EQ(Count("ul_kl"), 0);

  // Called inside a row's transaction, the entry is committed apart at once:
  // it stays when the row is rolled back, and the row's transaction stays open.
  db.Connection().StartTransaction();
  EXPECT_EQ(classifiers.GetStreetID(open, "Нова"), 1);
  EXPECT_TRUE(db.Connection().InTransaction());
  EXPECT_EQ(classifiers.GetStreetID(open, "НОВА"), 1);  // found again, not added
  db.Connection().Rollback();
  EXPECT_EQ(Count("ul_kl"), 1);
}

// A new entry costs one short transaction (look-up, greatest id and insert
// together), as does an entry committed after the row's transaction began
// (found by that look-up), and a rent type one for the entry and one to read
// the table again.
TEST_F(ClassifierTest, OneShortTransactionPerNewEntry) {
  db.Connection().StartTransaction();
  const auto commitsOf = [&](const std::function<void()>& call) {
    const db::ConnectionCounts before = db::CountWork(db.Connection());
    call();
    const db::ConnectionCounts after = db::CountWork(db.Connection());
    EXPECT_EQ(after.started - before.started, after.committed - before.committed);
    return after.committed - before.committed;
  };
  const struct {
    const char* what;
    std::function<void()> call;
    long transactions;
  } cases[] = {
      {"new street", [&] { classifiers.GetStreetID(open, "Нова"); }, 1},
      {"street committed since", [&] { classifiers.GetStreetID(open, "НОВА"); }, 1},
      {"new quarter", [&] { classifiers.GetQuarterID(open, "Изток"); }, 1},
      {"new rent type", [&] { classifiers.GetRentTypeID("Наем склад"); }, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(commitsOf(c.call), c.transactions);
  }
  db.Connection().Rollback();
  EXPECT_EQ(Count("ul_kl") + Count("jk_kl"), 2);
}

TEST_F(ClassifierTest, AwkwardTextsAreStoredExactlyAndFoundAgain) {
  const std::string texts[] = {
      "ул. \"Плиска\"; DROP TABLE ul_kl; --", "ул. 'Шипка' OR 1=1",
      "бул.\r\nЦар Освободител\tбл. 5",
      "ул. «Кавички» – „Кавички“ №7 §",  // every character has a Windows-1251
                                         // code
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    const int16_t id = classifiers.GetStreetID(open, text);
    EXPECT_EQ(db.Scalar("SELECT ul_text FROM ul_kl WHERE ul_id = " + std::to_string(id)), text);
    EXPECT_EQ(classifiers.GetStreetID(open, text), id);
  }
  EXPECT_EQ(Count("ul_kl"), 4);
}

TEST_F(ClassifierTest, TextsTheDatabaseCannotHoldAreRefusedWithoutARow) {
  const auto expectRefused = [](const std::function<void()>& call, const std::string& named) {
    try {
      call();
      ADD_FAILURE() << "accepted";
    } catch (const Error& e) {
      EXPECT_NE(std::string(e.what()).find(named), std::string::npos) << e.what();
    }
  };
  expectRefused([&] { classifiers.GetStreetID(open, std::string(251, 'x')); },
                "expected length 250");
  expectRefused([&] { classifiers.GetStreetID(open, "улица 東京"); }, "ul_text");
  expectRefused([&] { classifiers.GetLocalityID(open, "ул. \xF0\x9F\x98\x80"); }, "me_text");
  expectRefused([&] { classifiers.GetRentTypeID("Наем 東京"); }, "rt_text");
  expectRefused([&] { classifiers.CheckMunicipality(open, "Русе 東京"); }, "ob_name");
  expectRefused(
      [&] {
        std::string text = "с. Ни" + std::string(1, '\0') + "колово";
        classifiers.GetSettlementID(open, text);
      },
      "nm_text");
  EXPECT_FALSE(db.Connection().InTransaction());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Count("ul_kl") + Count("me_kl") + Count("nm_kl"), 0);
  EXPECT_EQ(classifiers.GetStreetID(open, std::string(250, 'x')),
            1);  // the full width is accepted
}

}  // namespace
}  // namespace zrv::import
