#pragma once
// One contract row of the worksheet as the reader gives it: every cell the
// import uses, parsed and checked, without the database. What the database
// decides (whether a person or property is stored already, the ids of the
// classifier texts) is left to the resolver, which also decides which of the
// lines below reach the error list: a group reports only while the groups
// before it were valid, and a person's own cells report only when the person
// is new.
//
// A line is the whole text of an error-list line ("FATAL : Липсва ... на ред
// номер : 7"), in the order the row's columns are checked.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/Dates.h"

namespace zrv::import {

using Lines = std::vector<std::string>;

// An identity number (E, F without "BG", or J) without blanks, with a leading
// zero a spreadsheet dropped put back.
struct IdentityNumber {
  std::string number;  // empty when unusable
  bool usable = true;  // false: the column cannot hold it (a FATAL line)
  Lines lines;         // its FATAL or WARNING lines
};

// Columns I, J, K, N: the tenant's representative.
struct RepresentativeCells {
  IdentityNumber number;  // J
  // Read for a representative that is not stored yet.
  std::string name;                       // I
  std::string document;                   // K
  std::string phone;                      // N
  std::optional<TDate> registrationDate;  // J read as a date
  Lines newLines;  // FATAL lines of I, K, N (texts their columns cannot hold)
};

// Columns D to H: the tenant.
struct TenantCells {
  std::string vatNumber;  // F
  Lines vatLines;         // F's FATAL line when its column cannot hold it
  IdentityNumber number;  // E, or F without "BG" when E is empty
  // Read for a tenant that is not stored yet.
  std::string name;        // D
  char flag = 'T';         // 'F' when the number is a valid firm code
  std::string settlement;  // G
  std::string address;     // H
  Lines newLines;          // D's, the missing name or number, G's and H's FATAL lines
};

// The contract columns A, B, C, O to S, AC to AJ.
struct ContractCells {
  std::string rentType;  // C as read
  // A: the number, and whether the contract takes it as its number (not
  // empty, no control character).
  std::string number;
  bool numberTaken = false;
  TDate docDate = 0;  // B, when it is a date
  bool docDateRead = false;
  TDate startDate = 0;  // AE, when it is a date
  bool startRead = false;
  double monthPrice = 0;  // AD
  bool priceRead = false;
  std::string sf2Text, comment, purpose, addText;  // O, Q, R, AJ
  std::string objectType;                          // P, empty or not when its column cannot hold it
  bool objectTypeFits = true;
  double area = 0;     // S
  TDate stopDate = 0;  // from AE and AC, when the term is readable
  bool stopRead = false;
  std::string podsadFlag;           // from AI and AG: "F", "T", "B" or "S"
  std::optional<TDate> statusDate;  // AG
  std::string statusNote;           // AH, read only when AG is a date
  // The group's lines before the object type (P) is looked up, and after it.
  Lines linesBeforeObjectType;
  Lines linesAfterObjectType;
  bool valid = true;  // no FATAL line above
};

// The property columns T to Z and AB.
struct PropertyCells {
  std::string settlement;  // T
  Lines settlementLines;   // T's FATAL line when its column cannot hold it
  bool settlementFits = true;
  // AB: the groups the property keeps, when it holds an identifier.
  bool hasCadastralId = false;
  bool cadastralValid = true;  // false: a FATAL line in cadastralLines
  int32_t masivNo = 0;
  std::string nparText;
  int16_t nn = 0;
  int16_t ni = 0;
  Lines cadastralLines;
  std::string locality, quarter, street;  // U, V, W
  Lines classifierLines;                  // FATAL lines of U, V, W
  std::string streetNumber;               // X
  std::string address;                    // Y, its first 250 characters
  Lines newLines;                         // X's and Y's FATAL lines, for a new property
  std::string storedDocumentNumber;       // Z without the numero sign
};

// An annex row below the contract row: its cells as read. Whether the annex
// is stored is judged against the contract and the annex before it (see
// AnnexJudge.h).
struct AnnexCells {
  int row = 0;
  TDate start = 0;  // AE
  bool startRead = false;
  TDate date = 0;  // B
  bool dateRead = false;
  double price = 0;  // AD
  bool priceRead = false;
  TDate stop = 0;  // AF
  bool stopRead = false;
};

struct ContractRow {
  int row = 0;
  RepresentativeCells representative;
  TenantCells tenant;
  ContractCells contract;
  PropertyCells property;
  std::vector<AnnexCells> annexes;  // the rows below that repeat A
};

}  // namespace zrv::import
