// The journal grid as plain data: what the grid on the page "加班明细" shows
// for the journal. Row 0 holds the headers; row i (from 1) shows the i-th
// record in file order, column c its field c + 1.
//
// Cell texts: the date as dateTimeToText writes it ("2013年5月6日"), the
// whole numbers in decimal, the texts unchanged. A cell of hours (G1, G2, G3,
// 事假, 病假) is highlighted when its hours are above 0, the remark when it is
// not empty; no other cell ever is (not 夜班, not 旷工, not negative hours).
// Every cell that is not highlighted has the normal background.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "journal/journal_rows.h"

namespace qinghe::journal {

inline constexpr int kGridColumnCount = kFieldCount;
inline constexpr int kDateColumnWidth = 100;  // pixels
// The highlight, RGB (192, 192, 192).
inline constexpr std::uint8_t kHighlightGrey = 192;

enum class Highlight { Never, PositiveHours, NonEmptyText };

struct GridColumn {
    std::string header;  // GBK
    Field field;
    Highlight highlight;
};

// The ten columns: "日期", "G1时数", "G2时数", "G3时数", "事假时数",
// "病假时数", "备注", "星期", "夜班", "旷工时数".
std::span<const GridColumn> gridColumns();

// The text of record `row` (from 0) in `column`.
std::string gridCellText(const JournalRows& rows, std::size_t row, int column);

// The highlighted columns of record `row`: bit c set for column c.
std::uint16_t gridHighlights(const JournalRows& rows, std::size_t row);

}  // namespace qinghe::journal
