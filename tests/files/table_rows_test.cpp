#include "files/table_rows.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tc101 {
namespace {

// A four-column table whose data rows have the given names in column 1 and
// "u<name>" in column 2.
Table Named(const std::vector<std::string>& names) {
    Table table(4, static_cast<int>(names.size()) + 1);
    table.SetCell(1, 0, "title");
    for (size_t i = 0; i < names.size(); ++i) {
        table.SetCell(1, static_cast<int>(i) + 1, names[i]);
        table.SetCell(2, static_cast<int>(i) + 1, "u" + names[i]);
    }
    return table;
}

std::vector<std::string> Names(const Table& table) {
    std::vector<std::string> names;
    for (int row = 1; row < table.RowCount(); ++row) names.push_back(table.Cell(1, row));
    return names;
}

TEST(TableRows, InsertBlankRowMovesTheRowsBelow) {
    struct Case {
        int at;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {1, {"", "a", "b", "c"}},
        {2, {"a", "", "b", "c"}},
        {4, {"a", "b", "c", ""}},   // just past the last row: appended
        {9, {"a", "b", "c", ""}},   // beyond: appended
        {0, {"a", "b", "c", ""}},   // the title row is never moved
    };
    for (const auto& c : cases) {
        Table table = Named({"a", "b", "c"});
        InsertBlankRow(table, c.at);
        EXPECT_EQ(Names(table), c.expected) << "at " << c.at;
        EXPECT_EQ(table.Cell(1, 0), "title");
        // Every cell of the row moved, not just the name.
        for (int row = 1; row < table.RowCount(); ++row)
            EXPECT_EQ(table.Cell(2, row), table.Cell(1, row).empty() ? "" : "u" + table.Cell(1, row));
    }
}

TEST(TableRows, AddGoesTwoBelowOrAtTheEnd) {
    // Five data rows (RowCount 6): rows 4 and 5 are the last two.
    const Table table = Named({"a", "b", "c", "d", "e"});
    const std::pair<int, int> cases[] = {{1, 3}, {3, 5}, {4, 6}, {5, 6}};
    for (const auto& [current, expected] : cases) EXPECT_EQ(AddedRowIndex(table, current), expected) << current;
}

TEST(TableRows, DeleteMovesRowsUpAndBlanksTheOnlyRow) {
    struct Case {
        std::vector<std::string> names;
        int row;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{"a", "b", "c"}, 1, {"b", "c"}},
        {{"a", "b", "c"}, 3, {"a", "b"}},
        {{"a", "b", "c"}, 0, {"a", "b", "c"}},   // the title row stays
        {{"a", "b", "c"}, 4, {"a", "b", "c"}},
        {{"a"}, 1, {""}},                        // the last data row is kept, blank
    };
    for (const auto& c : cases) {
        Table table = Named(c.names);
        DeleteDataRow(table, c.row);
        EXPECT_EQ(Names(table), c.expected) << "row " << c.row;
        EXPECT_EQ(table.Cell(1, 0), "title");
    }
    Table one = Named({"a"});
    DeleteDataRow(one, 1);
    EXPECT_EQ(one.Cell(2, 1), "");
}

TEST(TableRows, BlankNamesDisappearEvenWithOtherCellsFilled) {
    struct Case {
        std::vector<std::string> names;
        std::vector<std::string> expected;
        bool nothing;
    };
    const Case cases[] = {
        {{"a", " ", "b", "\t", ""}, {"a", "b"}, false},
        {{"", " "}, {""}, true},          // the last row is blanked, not removed
        {{" x "}, {" x "}, false},        // a name with spaces around is a name
        {{"a"}, {"a"}, false},
    };
    for (const auto& c : cases) {
        Table table = Named(c.names);
        DeleteRowsBlankIn(table, 1);
        EXPECT_EQ(Names(table), c.expected);
        EXPECT_EQ(HoldsNothingIn(table, 1), c.nothing);
    }
    // Two blank rows are not "nothing": only one blank data row is.
    EXPECT_FALSE(HoldsNothingIn(Named({"", ""}), 1));
    EXPECT_FALSE(HoldsNothingIn(Table(4, 1), 1));
}

}  // namespace
}  // namespace tc101
