#pragma once

// The three kinds of table file and their columns, as the editors show them.

#include <array>
#include <optional>
#include <string_view>

namespace tc101 {

// What an editor makes of a text cell as it is entered.
enum class CellForm {
    Text,     // kept as typed
    Ratio,    // a number in its shortest form (RatioCellText)
    Message,  // hex text tidied (TidyHexText)
};

struct TableKind {
    std::string_view name;      // as the console names it
    std::string_view fileName;  // the file the program keeps it in
    std::array<std::string_view, 3> titles;  // columns 1 to 3; column 0 is the row number
    int textColumns;            // columns 1..textColumns hold text; the send list's third is a button
    std::array<CellForm, 3> forms;  // columns 1 to 3
};

inline constexpr int kTableFileColumns = 4;

inline constexpr std::array<TableKind, 3> kTableKinds = {{
    {"yc", "yc.sen", {"遥测量", "单位", "比例"}, 3, {CellForm::Text, CellForm::Text, CellForm::Ratio}},
    {"yx", "yx.sen", {"遥信量", "0的意义", "1的意义"}, 3, {CellForm::Text, CellForm::Text, CellForm::Text}},
    {"send", "send.sen", {"报文名称", "报文内容", "规约报文"}, 2, {CellForm::Text, CellForm::Message, CellForm::Text}},
}};

inline std::optional<TableKind> FindTableKind(std::string_view name) {
    for (const auto& kind : kTableKinds)
        if (kind.name == name) return kind;
    return std::nullopt;
}

}  // namespace tc101
