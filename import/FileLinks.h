#pragma once
// The link between a stored contract and its scanned document on the
// organisation's file server. Only the names are stored (table storage,
// numbered per property); the file itself is neither checked nor copied.

#include <cstdint>
#include <string>

#include "common/Dates.h"
#include "platform/db/Database.h"
#include "platform/ui/Messages.h"

namespace zrv::contracts {
class TBaseDoc;
}

namespace zrv::import {

// The scanned file's name: the year the contract was drawn up, its number text,
// ".pdf" (contract 45 of 2007 gives "200745.pdf").
std::string FileLinkName(TDate docDate, const std::string& numberText);

// Adds a storage row for the stored contract's property: the next number for
// that property (1 for the first), the document kind text with the contract's
// number, the file name, today's date and the file's path on the server
// ("folder/name", or the name alone when the folder is empty), in the row's
// transaction `tx`. The number is the greatest
// the row's snapshot sees + 1; when another workstation has given it to a link
// of the same property meanwhile, the insert fails with db::DuplicateKeyError
// (after waiting for that workstation's row) and the caller tries the row
// again in a new snapshot. Any other failure of the insert shows "Проблем при
// записа на връзка към FTP файл" and throws the error on, so that the caller
// rolls the whole row back. Gives the link's number.
int32_t AddFileLink(db::Transaction& tx, ui::Messages& messages,
                    const contracts::TBaseDoc& contract, const std::string& folder);

}  // namespace zrv::import
