// What one row becomes in the database: contract fields, status letters, stop
// dates, cadastral numbers, tenants and representatives, the property found
// again, and the file links.

#include <gtest/gtest.h>

#include "tests/import/ImportRunFixture.h"
#include "tests/support/OdsFiles.h"

namespace zrv::import {
namespace {

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

class RowMappingTest : public ImportRunTest {
 protected:
  std::string Contract(const std::string& number, const std::string& column) {
    return Scalar("SELECT " + column + " FROM documents WHERE doc_nomtxt = '" + number + "'");
  }
  std::string Property(const std::string& number, const std::string& column) {
    return Scalar("SELECT i." + column +
                  " FROM imot i JOIN documents d ON d.doc_imotid = i.im_id "
                  "WHERE d.doc_nomtxt = '" +
                  number + "'");
  }
  std::string Person(const std::string& egn, const std::string& column) {
    return Scalar("SELECT " + column + " FROM persons WHERE per_egn = '" + egn + "'");
  }
};

TEST_F(RowMappingTest, StopDateIsTheTermInCalendarMonths) {
  const Cell lastOfJanuary = Cell::Date(2007, 1, 31);
  Import({ContractRow("1", "7001010011", {{"AC", 1}, {"AE", lastOfJanuary}}),
          ContractRow("2", "7001010027", {{"AC", 12}, {"AE", lastOfJanuary}}),
          ContractRow("3", "7001010032", {{"AC", 0}, {"AE", lastOfJanuary}}),
          ContractRow("4", "7001010048", {{"AC", -3}}),
          ContractRow("5", "7001010053", {{"AC", "12 месеца"}})});
  EXPECT_EQ(Contract("1", "doc_datastop"), "28.02.2007");
  EXPECT_EQ(Contract("2", "doc_datastop"), "31.01.2008");
  EXPECT_EQ(Contract("3", "doc_datastop"), "31.01.2007");
  // A negative term would end the contract before it starts.
  EXPECT_EQ(Lines(),
            (std::vector<std::string>{"FATAL : Липсва Срок на договора на ред номер : 5",
                                      "FATAL : Липсва Срок на договора на ред номер : 6"}));
  EXPECT_EQ(Scalar("SELECT an_dtstop FROM anecs a JOIN documents d ON d.doc_id "
                   "= a.an_id "
                   "WHERE d.doc_nomtxt = '1'"),
            "28.02.2007");
}

TEST_F(RowMappingTest, StatusLetterFromAIAndAG) {
  Import({ContractRow("F", "7001010011"), ContractRow("T", "7001010027", {{"AI", "д"}}),
          ContractRow("S", "7001010032",
                      {{"AI", "Д"}, {"AG", Cell::Date(2007, 9, 1)}, {"AH", "дело"}}),
          ContractRow("B", "7001010048", {{"AG", Cell::Date(2007, 9, 1)}}),
          ContractRow("N", "7001010053", {{"AI", "да"}, {"AG", "скоро"}})});
  EXPECT_TRUE(Lines().empty());
  for (const char* letter : {"F", "T", "S", "B"}) {
    EXPECT_EQ(Contract(letter, "doc_podsad"), letter);
  }
  EXPECT_EQ(Contract("N", "doc_podsad"), "F");
}

TEST_F(RowMappingTest, ContractFieldsAndRentKindTerms) {
  Import({ContractRow("7/2007", "7001010011",
                      {{"C", "Наем земеделска земя"},
                       {"O", "Решение № 4"},
                       {"P", "Нива"},
                       {"Q", "коментар \"в кавички\""},
                       {"R", "земеделие"},
                       {"S", "1,5 дка"},
                       {"AD", "1 234,50"},
                       {"AJ", "още"}})});
  ASSERT_TRUE(Lines().empty());
  EXPECT_EQ(Contract("7/2007", "doc_data"), "15.01.2007");
  EXPECT_EQ(Contract("7/2007", "doc_datastart"), "01.02.2007");
  EXPECT_EQ(Contract("7/2007", "da_sf2"), "Решение № 4");
  EXPECT_EQ(Contract("7/2007", "doc_coment"), "коментар \"в кавички\"");
  EXPECT_EQ(Contract("7/2007", "doc_coment2"), "земеделие");
  EXPECT_EQ(Contract("7/2007", "da_objtype"), "Нива");
  EXPECT_EQ(Contract("7/2007", "doc_addtext"), "още");
  EXPECT_EQ(Contract("7/2007", "doc_typetext"), "Наем");
  EXPECT_EQ(Count("documents",
                  "doc_area = 1500 AND doc_price = 1234.5 AND da_dds = 1200 AND "
                  "doc_payday = 225 AND da_ltype = 1 AND da_lpercent = 10 AND "
                  "da_valuta = 0 AND doc_type = 1002"),
            1);
  EXPECT_EQ(Count("objtype_kl", "ot_text = 'Нива' AND ot_app = 1"), 1);
  EXPECT_EQ(Count("renttypes", "rt_text = 'Наем земеделска земя'"), 1);
  EXPECT_EQ(Contract("7/2007", "da_rf1"),
            Scalar("SELECT rt_id FROM renttypes WHERE rt_text = 'Наем "
                   "земеделска земя'"));
}

TEST_F(RowMappingTest, CadastralIdentifierInBothForms) {
  // Rows 6 on hold identifiers that cannot be read whole: refused rather than
  // stored cut, padded or negative (the identifier picks the stored property
  // a contract reuses).
  const char* const unreadable[] = {"12345.1.2.70000.1",  // a group beyond its 16-bit column
                                    "63427.777.123.1.2'", "1.2.3.4.5.6.7", "99999999999999999999",
                                    "-1.-2.-3",           "12 345.1.2",    "1234567",
                                    "12345.99999999999.1"};
  std::vector<Row> rows = {ContractRow("1", "7001010011", {{"AB", "12345.501.123.1.2."}}),
                           ContractRow("2", "7001010027", {{"AB", "012 345"}}),
                           ContractRow("3", "7001010032", {{"AB", "12345.501"}})};
  std::vector<std::string> refused;
  for (const char* id : unreadable) {
    const std::string number = std::to_string(rows.size() + 1);
    rows.push_back(ContractRow(number, "7001010048", {{"AB", id}}));
    refused.push_back(
        "FATAL : Липсва кадастрален идентификатор(или въведената стойност е "
        "невалидна; колона AB: до пет групи от цифри, разделени с точка, или "
        "число до шест цифри) на ред номер : " +
        std::to_string(rows.size() + 1));
  }
  Import(rows);
  EXPECT_EQ(Property("1", "im_nmas"), "501");
  EXPECT_EQ(Property("1", "im_npar"), "123");
  EXPECT_EQ(Property("1", "im_nn"), "1");
  EXPECT_EQ(Property("1", "im_ni"), "2");
  EXPECT_EQ(Property("2", "im_nmas"), "12");
  EXPECT_EQ(Property("2", "im_npar"), "345");
  EXPECT_EQ(Property("3", "im_nmas"), "501");
  EXPECT_EQ(Property("3", "im_npar"), "0");
  EXPECT_EQ(Lines(), refused);
}

TEST_F(RowMappingTest, PropertyAddressAndSettlementFromTheRegister) {
  Import({ContractRow("1", "7001010011",
                      {{"T", "с. Николово"},
                       {"U", "Герена"},
                       {"V", "Дружба 3"},
                       {"W", "ул. Плиска"},
                       {"X", "12А"},
                       {"Y", Repeat("Я", 300)}})});
  ASSERT_TRUE(Lines().empty());
  EXPECT_EQ(Scalar("SELECT nm_text FROM nm_kl WHERE nm_id = " + Property("1", "im_nm")),
            "Николово");
  EXPECT_EQ(Scalar("SELECT me_text FROM me_kl WHERE me_id = " + Property("1", "im_mestnost")),
            "Герена");
  EXPECT_EQ(Scalar("SELECT jk_text FROM jk_kl WHERE jk_id = " + Property("1", "im_jk")),
            "Дружба 3");
  EXPECT_EQ(Scalar("SELECT ul_text FROM ul_kl WHERE ul_id = " + Property("1", "im_nulic")),
            "ул. Плиска");
  EXPECT_EQ(Property("1", "im_addressnom"), "12А");
  EXPECT_EQ(Property("1", "im_address"), Repeat("Я", 250));  // characters, not bytes
}

TEST_F(RowMappingTest, TenantByVatNumberFirmOrCitizen) {
  Import({ContractRow("1", "", {{"D", "Строй ЕООД"}, {"F", "BG123456786"}}),
          ContractRow("2", "", {{"D", "Друг"}, {"F", "BG 123 456 789"}})});
  // A wrong check digit keeps the citizen's letter, and the clerk is told.
  EXPECT_EQ(Lines(), std::vector<std::string>{"WARNING : Липсва вярна контролна цифра на "
                                              "ЕГН/ЛНЧ/Булстат в колона F на ред номер : 3"});
  EXPECT_EQ(Person("123456786", "per_flag"),
            "F");  // passes the registry-code check
  EXPECT_EQ(Person("123456786", "per_indds"), "BG123456786");
  EXPECT_EQ(Person("123456786", "per_name"), "Строй ЕООД");
  EXPECT_EQ(Person("123456789", "per_flag"), "T");
  EXPECT_EQ(Contract("1", "da_if1"), Person("123456786", "per_id"));
}

TEST_F(RowMappingTest, TenantFoundByNumberNeedsNoName) {
  Import({ContractRow("1", "7001010011", {{"G", "Русе"}, {"H", "ул. Първа 1"}}),
          ContractRow("2", "7001010011", {{"D", Cell()}, {"H", "друг адрес"}})});
  EXPECT_TRUE(Lines().empty());
  EXPECT_EQ(Count("persons"), 1);
  EXPECT_EQ(Contract("2", "da_if1"), Contract("1", "da_if1"));
  EXPECT_EQ(Person("7001010011", "per_addr"), "ул. Първа 1");
  EXPECT_EQ(Person("7001010011", "per_nm"), "Русе");
}

TEST_F(RowMappingTest, RepresentativeOfAFirmIsStoredOnceAndNamedByTheFirm) {
  const Cells representative = {
      {"I", "Георги Колев"}, {"J", "6808154321"}, {"K", "л.к. 123"}, {"N", "082 1234"}};
  Import({ContractRow("1", "203154728", Join({{"D", "Агро ООД"}}, representative)),
          ContractRow("2", "175620347", {{"D", "Зърно ЕООД"}, {"J", "6808154321"}}),
          ContractRow("3", "7001010032")});
  ASSERT_TRUE(Lines().empty());
  const std::string repId = Person("6808154321", "per_id");
  EXPECT_EQ(Person("6808154321", "per_name"), "Георги Колев");
  EXPECT_EQ(Person("6808154321", "per_flag"), "T");
  EXPECT_EQ(Person("6808154321", "per_pdata"), "л.к. 123");
  EXPECT_EQ(Person("6808154321", "per_telefon"), "082 1234");
  EXPECT_EQ(Person("203154728", "per_flag"), "F");
  EXPECT_EQ(Person("203154728", "per_mol"), repId);
  EXPECT_EQ(Person("175620347", "per_mol"), repId);  // found again by number
  EXPECT_EQ(Person("7001010032", "per_mol"),
            "-1");  // a row without a representative
  EXPECT_EQ(Count("persons"), 4);
}

// A spreadsheet that takes column E as numbers drops the leading zero of a
// personal number of someone born 2000-2009; it is put back, and a person an
// older import stored without it is found either way.
TEST_F(RowMappingTest, APersonalNumberThatLostItsLeadingZeroGetsItBack) {
  database.Exec(
      "INSERT INTO persons (per_name, per_egn, per_flag) VALUES ('Стар', "
      "'641010004', 'T')");
  ImportFile(Workbook({ContractRow("1", "", {{"E", 543121235}}), ContractRow("2", "0543121235"),
                       ContractRow("3", "0641010004")},
                      "numbers.xlsx"));
  EXPECT_EQ(Lines(), std::vector<std::string>{
                         "WARNING : Липсва водеща нула на ЕГН в колона E(ЕГН е записано "
                         "с нея; форматирайте колоната като текст) на ред номер : 2"});
  EXPECT_EQ(Count("persons"), 2);
  EXPECT_EQ(Contract("1", "da_if1"), Person("0543121235", "per_id"));
  EXPECT_EQ(Contract("2", "da_if1"), Person("0543121235", "per_id"));
  EXPECT_EQ(Contract("3", "da_if1"), Person("641010004", "per_id"));
}

TEST_F(RowMappingTest, AContractNumberWithAControlCharacterIsRefused) {
  Import({ContractRow("12\n13", "7001010011"), ContractRow("14\a5", "7001010027")});
  const std::string line =
      "FATAL : Липсва номер на договор(колона A: без нов ред и управляващи "
      "знаци) на ред номер : ";
  EXPECT_EQ(Lines(), (std::vector<std::string>{line + "2", line + "3"}));
  EXPECT_EQ(Count("documents"), 0);
}

// LibreOffice keeps a date typed as 2024-01-10 with that ISO format, and its
// .ods shows it so; the row is stored as from .xlsx or .xls.
TEST_F(RowMappingTest, AnOdsDateTypedTheIsoWayIsADate) {
  auto text = [](const std::string& t) {
    return "<table:table-cell office:value-type=\"string\"><text:p>" + t +
           "</text:p></table:table-cell>";
  };
  auto date = [](const std::string& iso) {
    return "<table:table-cell office:value-type=\"date\" "
           "office:date-value=\"" +
           iso + "\"><text:p>" + iso + "</text:p></table:table-cell>";
  };
  auto gap = [](int cells) {
    return "<table:table-cell table:number-columns-repeated=\"" + std::to_string(cells) + "\"/>";
  };
  // A to E, then T (20), then AC to AE (29-31).
  const std::string row = text("ISO1") + date("2024-01-10") + text("Наем терен") +
                          text("Наемател") + text("7001010011") + gap(14) + text("Русе") + gap(8) +
                          text("12") + text("100") + date("2024-02-01");
  const std::string path = folder + "/iso.ods";
  test::WriteOdsPackage(path,
                        "<office:document-content "
                        "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
                        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\">"
                        "<office:body><office:spreadsheet><table:table table:name=\"Лист1\">"
                        "<table:table-row>" +
                            text("№") + "</table:table-row><table:table-row>" + row +
                            "</table:table-row></table:table></office:spreadsheet></office:body>"
                            "</office:document-content>");
  const RunResult result = ImportFile(path);
  EXPECT_TRUE(Lines().empty()) << Lines()[0];
  EXPECT_EQ(result.summary.contractsStored, 1);
  EXPECT_EQ(Contract("ISO1", "doc_data"), "10.01.2024");
  EXPECT_EQ(Contract("ISO1", "doc_datastart"), "01.02.2024");
}

TEST_F(RowMappingTest, AnEmptyNumberFindsNobody) {
  // Row 2 stores a representative without a number; the rows after it must not
  // pick that person up as their representative or tenant.
  Import({ContractRow("1", "203154728", {{"I", "Без Номер"}}), ContractRow("2", "175620347"),
          ContractRow("3", "", {{"D", "Без ЕГН"}})});
  EXPECT_EQ(Person("175620347", "per_mol"), "-1");
  EXPECT_EQ(Lines(), std::vector<std::string>{"FATAL : Липсва Име на наемател или "
                                              "ЕГН/Булстат/ИН по ДДС на ред номер : 4"});
}

TEST_F(RowMappingTest, StoredPropertyFoundByDocumentNumberOrWholeIdentifier) {
  database.Exec("INSERT INTO imot (im_nm, im_npar, im_app) VALUES (1, '900', 1)");
  const std::string stored = Scalar("SELECT MAX(im_id) FROM imot");
  database.Exec(
      "INSERT INTO documents (doc_type, doc_nomtxt, doc_imotid) VALUES (10, "
      "'77', " +
      stored + ")");
  const std::string full = "63427.777.123.1.2";
  Import({ContractRow("1", "7001010011", {{"Z", "№ 77"}, {"AB", "11.22.33"}}),
          // A bare number is no third group of any property.
          ContractRow("2", "7001010027", {{"AB", "900"}}),
          ContractRow("3", "7001010032", {{"AB", full}}),
          ContractRow("4", "7001010048", {{"AB", full}}),
          ContractRow("5", "7001010053", {{"AB", "63427.777.123.1"}})});
  ASSERT_TRUE(Lines().empty());
  EXPECT_EQ(Contract("1", "doc_imotid"), stored);
  EXPECT_NE(Contract("2", "doc_imotid"), stored);
  EXPECT_EQ(Contract("4", "doc_imotid"), Contract("3", "doc_imotid"));
  EXPECT_NE(Contract("5", "doc_imotid"), Contract("3", "doc_imotid"));
  EXPECT_EQ(Count("imot"), 4);
}

TEST_F(RowMappingTest, FileLinksNumberedPerPropertyWithTheLastFolder) {
  Import({ContractRow("45", "7001010011", {{"AB", "501123"}, {"C", "Наем реклама"}}),
          ContractRow("46", "7001010027", {{"AB", "501123"}, {"C", "Наем гараж"}}),
          ContractRow("47", "7001010032", {{"AB", "501123"}, {"C", "наем терен"}})});
  ASSERT_TRUE(Lines().empty());
  EXPECT_EQ(Count("imot"), 1);
  const std::string property = Scalar("SELECT MAX(im_id) FROM imot");
  EXPECT_EQ(Count("storage", "st_id = " + property), 3);
  EXPECT_EQ(Scalar("SELECT st_ftpname FROM storage WHERE st_num = 1"), "reklami/200745.pdf");
  // Rent kinds that match none keep the folder of the row before.
  EXPECT_EQ(Scalar("SELECT st_ftpname FROM storage WHERE st_num = 2"), "reklami/200746.pdf");
  EXPECT_EQ(Scalar("SELECT st_ftpname FROM storage WHERE st_num = 3"), "reklami/200747.pdf");
  EXPECT_EQ(Scalar("SELECT st_filename FROM storage WHERE st_num = 3"), "200747.pdf");
  EXPECT_EQ(Scalar("SELECT st_doctype FROM storage WHERE st_num = 3"),
            "Документ към договор за наемс номер 47");
  EXPECT_EQ(Count("storage", "st_datain = CAST('TODAY' AS DATE)"), 3);
}

TEST_F(RowMappingTest, NoLinksWhenSwitchedOff) {
  const RunResult result = Import({ContractRow("1", "7001010011"), ContractRow("2", "7001010027")},
                                  {.fileLinks = false});
  EXPECT_EQ(result.summary.contractsStored, 2);
  EXPECT_EQ(Count("storage"), 0);
}

}  // namespace
}  // namespace zrv::import
