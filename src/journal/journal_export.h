// The journal as a CSV file for a spreadsheet (RFC 4180): UTF-8 with a
// byte-order mark, so that spreadsheet programs in Chinese locales read it
// as UTF-8; a header row of the ten field names; one row per record in file
// order; dates as YYYY-MM-DD (the time of day, if any, left out), whole
// numbers in decimal, texts in UTF-8 (a byte that is not GBK as U+FFFD).
// A text that begins with "=", "+", "-", "@", TAB or CR, which a spreadsheet
// would take for a formula, gets a "'" before it ("'=1+2"), as spreadsheet
// users expect. A field that holds a comma, a double quote, CR or LF is
// enclosed in double quotes, its double quotes doubled. Lines end with CR LF.
#pragma once

#include <string>

#include "journal/journal_rows.h"

namespace qinghe::journal {

std::string journalCsv(const JournalRows& rows);

}  // namespace qinghe::journal
