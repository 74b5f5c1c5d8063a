// qinghe-cli journal: the journal's cores for scripts and for checking, the
// same the window's buttons run.
//
//   journal init                       creates the journal (its ten fields) and
//                                      sets its password to --password; "?"
//                                      asks for a new one twice (two lines that
//                                      differ, or one without a GBK form, are
//                                      refused: exit 2)
//   journal record YYYY-MM-DD TEXT [--kind G1|G2|G3|事假|病假|旷工] [--night]
//                                      records the day as "加班记录" does with the
//                                      picker on that date, TEXT in the drop-down
//                                      list, that kind checked, "夜班" as --night;
//                                      a TEXT refused for itself (hours that are
//                                      not whole, a remark longer than 20 bytes:
//                                      journal/record_day.h) is exit 2 with the
//                                      window's message
//   journal sort                       what "数据库排序" does: the journal
//                                      rewritten in date order
//                                      (journal/journal_maintenance.h);
//                                      prints nothing
//   journal totals YYYY-MM-DD          what "读取数据库" writes: one NAME<TAB>TEXT
//                                      line per box, then the last date's label
//   journal grid                       the grid as "表格刷新" leaves it: row 0 and
//                                      one line per record, the ten cell texts and
//                                      an eleventh field of the highlighted
//                                      columns ("1,6"; empty for none), TAB-separated;
//                                      a cell's backslash, TAB, LF and CR escaped
//                                      as `table dump` does (cli/table_values.h)
//   journal export [--output FILE]     the journal as CSV (journal/journal_export.h): on
//                                      standard output without FILE or for "-"; into
//                                      a FIFO, terminal or device as it is; any other
//                                      file replaced whole (platform/whole_file.h);
//                                      never one of the data folder's own files
//                                      (exit 1); a failure names FILE
//   journal chart --year YEAR --output FILE.svg|FILE.png [--rules seed|current]
//                                      the year's chart of the page "月历"
//                                      (pictures/year_chart.h) as an SVG or a
//                                      PNG of 960 x 600, the months' limits
//                                      under the rules given (seed when none),
//                                      written to FILE as export writes
//
// Every subcommand takes --dir DIR (the folder of 加班.edb; default: the data
// folder the window uses; neither the empty name nor one holding "\") and
// --password P (default empty; "?" asks on the terminal). An option given
// twice is bad usage; "--" ends the options (a TEXT may then begin with
// "--"). Texts are UTF-8 on the terminal. Exit status: 0 done, 1 the
// journal failed ("error CODE: MESSAGE" on stderr), 2 bad usage; record also
// 3 for a day already recorded ("今天已经记录过了。" on stderr) and 4 when TEXT
// gives hours and no kind is given (nothing recorded).
#pragma once

#include <iosfwd>
#include <string_view>

#include "cli/command.h"

namespace qinghe::cli {

inline constexpr int kExitAlreadyRecorded = 3;
inline constexpr int kExitNoKind = 4;

int runJournal(Args args, std::ostream& out, std::ostream& err);

inline constexpr std::string_view kJournalUsage =
    "init | record YYYY-MM-DD TEXT [--kind KIND] [--night] | sort | "
    "totals YYYY-MM-DD | grid | export [--output FILE] | "
    "chart --year YEAR --output FILE.svg/.png [--rules RULES]; "
    "each [--dir DIR] [--password P]";

}  // namespace qinghe::cli
