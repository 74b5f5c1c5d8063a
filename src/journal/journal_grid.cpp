#include "journal/journal_grid.h"

#include <array>

#include "common/gbk.h"

namespace qinghe::journal {

using namespace literals;

std::span<const GridColumn> gridColumns() {
    static const std::array<GridColumn, kGridColumnCount> columns = {{
        {"日期"_gbk, Field::Date, Highlight::Never},
        {"G1时数"_gbk, Field::G1, Highlight::PositiveHours},
        {"G2时数"_gbk, Field::G2, Highlight::PositiveHours},
        {"G3时数"_gbk, Field::G3, Highlight::PositiveHours},
        {"事假时数"_gbk, Field::PersonalLeave, Highlight::PositiveHours},
        {"病假时数"_gbk, Field::SickLeave, Highlight::PositiveHours},
        {"备注"_gbk, Field::Remark, Highlight::NonEmptyText},
        {"星期"_gbk, Field::Weekday, Highlight::Never},
        {"夜班"_gbk, Field::NightShift, Highlight::Never},
        {"旷工时数"_gbk, Field::Absence, Highlight::Never},
    }};
    return columns;
}

std::string gridCellText(const JournalRows& rows, std::size_t row, int column) {
    const Field field = gridColumns()[static_cast<std::size_t>(column)].field;
    switch (field) {
        case Field::Date:
            return dateTimeToText(rows.date(row));
        case Field::Remark:
        case Field::Weekday:
            return std::string(rows.text(row, field));
        default:
            return std::to_string(rows.integer(row, field));
    }
}

std::uint16_t gridHighlights(const JournalRows& rows, std::size_t row) {
    std::uint16_t bits = 0;
    const auto columns = gridColumns();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        // The hours' text is their decimal form, so textToInteger of it, as
        // the grid reads its cells back, is the number itself.
        const bool lit = (columns[c].highlight == Highlight::PositiveHours &&
                          rows.integer(row, columns[c].field) > 0) ||
                         (columns[c].highlight == Highlight::NonEmptyText &&
                          !rows.text(row, columns[c].field).empty());
        if (lit) bits = static_cast<std::uint16_t>(bits | (1u << c));
    }
    return bits;
}

}  // namespace qinghe::journal
