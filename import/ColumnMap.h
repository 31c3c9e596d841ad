#pragma once
// The row layout of the contract workbook: which column holds which value, and
// the subject each required value names in its error-list line ("FATAL : Липсва
// " + subject + ...). One worksheet row is one contract, or one annex of the
// contract in the row above. Columns L, M and AA are not read.

namespace zrv::import {

namespace column {
inline constexpr char kContractNumber[] = "A";  // contract number; repeated on annex rows
inline constexpr char kDrawnUpDate[] = "B";     // date the contract or annex was drawn up
inline constexpr char kRentType[] = "C";        // rent type text
inline constexpr char kTenantName[] = "D";
inline constexpr char kTenantNumber[] = "E";     // personal number or firm code
inline constexpr char kTenantVatNumber[] = "F";  // without "BG", the number when E is empty
inline constexpr char kTenantSettlement[] = "G";
inline constexpr char kTenantAddress[] = "H";
inline constexpr char kRepresentativeName[] = "I";
inline constexpr char kRepresentativeNumber[] = "J";    // also read as a registration date
inline constexpr char kRepresentativeDocument[] = "K";  // identity document data
inline constexpr char kRepresentativePhone[] = "N";
inline constexpr char kContractText[] = "O";  // DA_SF2
inline constexpr char kObjectType[] = "P";
inline constexpr char kComment[] = "Q";     // DOC_COMENT
inline constexpr char kPurpose[] = "R";     // DOC_COMENT2
inline constexpr char kArea[] = "S";        // rented area with its unit
inline constexpr char kSettlement[] = "T";  // settlement of the property
inline constexpr char kLocality[] = "U";
inline constexpr char kQuarter[] = "V";  // residential quarter
inline constexpr char kStreet[] = "W";
inline constexpr char kStreetNumber[] = "X";
inline constexpr char kAddress[] = "Y";               // first 250 characters used
inline constexpr char kStoredDocumentNumber[] = "Z";  // a stored document whose property is used
inline constexpr char kCadastralId[] = "AB";
inline constexpr char kTermMonths[] = "AC";
inline constexpr char kMonthlyRent[] = "AD";
inline constexpr char kStartDate[] = "AE";  // on an annex row the annex's effective date
inline constexpr char kAnnexEndDate[] = "AF";
inline constexpr char kStatusDate[] = "AG";      // changes the contract's status letter
inline constexpr char kStatusNote[] = "AH";      // read only when AG holds a date
inline constexpr char kStatusFlag[] = "AI";      // "Д" or anything else
inline constexpr char kAdditionalText[] = "AJ";  // DOC_ADDTEXT
}  // namespace column

// Subjects of the error-list lines, exactly as the lines show them.
namespace subject {
// FATAL on a contract row.
inline constexpr char kContractNumber[] = "номер на договор";
inline constexpr char kDrawnUpDate[] = "дата на съставяне(или въведената стойност е невалидна)";
inline constexpr char kRentType[] = "вид наем";
inline constexpr char kTenant[] = "Име на наемател или ЕГН/Булстат/ИН по ДДС";
inline constexpr char kSettlement[] = "Населено място или не е валидно ";  // trailing blank kept
inline constexpr char kTermMonths[] = "Срок на договора";
inline constexpr char kMonthlyRent[] = "месечна цена(или въведената стойност е невалидна)";
inline constexpr char kStartDate[] = "начало на договора(или въведената стойност е невалидна)";
inline constexpr char kArea[] = "площ(или въведената стойност е невалидна)";
// FATAL on a contract row whose term the rent schedule cannot hold; followed by
// the contract's number and the limits.
inline constexpr char kScheduleLimits[] = "погасителен план за договор ";
// WARNING on a row whose identity number has wrong check digits; followed by
// the column.
inline constexpr char kCheckDigit[] = "вярна контролна цифра на ЕГН/ЛНЧ/Булстат в колона ";
// WARNING on an annex row.
inline constexpr char kAnnexDate[] = "Дата на анекс(Анексът не е записан)";
inline constexpr char kAnnexStartDate[] = "Дата на влизане в сила на анекс(Анексът не е записан)";
inline constexpr char kAnnexEndDate[] =
    "Крайна дата на анекс след началото му(Анексът не е записан)";
inline constexpr char kAnnexPrice[] = "Месечна цена на анекс под 10^17(Анексът не е записан)";
inline constexpr char kAnnexStartNotLater[] =
    "<>Датата на влизане в сила на анекс е по-ранна от предишната(Анексът не е "
    "записан)";
}  // namespace subject

}  // namespace zrv::import
