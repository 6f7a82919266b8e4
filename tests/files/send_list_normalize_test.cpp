#include "files/send_list_normalize.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tc101 {
namespace {

struct Row {
    std::string name;
    std::string content;
    bool operator==(const Row&) const = default;
};

Table SendTable(const std::vector<Row>& rows) {
    Table table(4, static_cast<int>(rows.size()) + 1);
    for (size_t i = 0; i < rows.size(); ++i) {
        table.SetCell(kSendNameCol, static_cast<int>(i) + 1, rows[i].name);
        table.SetCell(kSendContentCol, static_cast<int>(i) + 1, rows[i].content);
    }
    return table;
}

std::vector<Row> Rows(const Table& table) {
    std::vector<Row> rows;
    for (int row = 1; row < table.RowCount(); ++row)
        rows.push_back({table.Cell(kSendNameCol, row), table.Cell(kSendContentCol, row)});
    return rows;
}

TEST(SendListNormalize, ContentBecomesUpperCaseHexPairs) {
    struct Case {
        std::vector<Row> before;
        std::vector<Row> after;
        bool empty;
    };
    const Case cases[] = {
        {{{"a", "680c0c68"}}, {{"a", "68 0C 0C 68"}}, false},
        {{{"a", "10,49,01,4a,16"}}, {{"a", "10 49 01 4A 16"}}, false},
        {{{"a", " 10 5b 01 5c 16 "}}, {{"a", "10 5B 01 5C 16"}}, false},
        // A row with a name but no digit pair is removed, wherever it stands.
        {{{"a", "10"}, {"named", ""}, {"b", "zz"}, {"c", "16"}}, {{"a", "10"}, {"c", "16"}}, false},
        // Nothing left: the last row stays, blanked, and counts as empty.
        {{{"named", "x"}, {"", ""}}, {{"", ""}}, true},
        {{{"", ""}}, {{"", ""}}, true},
    };
    for (const auto& c : cases) {
        Table table = SendTable(c.before);
        NormalizeSendList(table);
        EXPECT_EQ(Rows(table), c.after);
        EXPECT_EQ(SendListEmpty(table), c.empty);
    }
}

}  // namespace
}  // namespace tc101
