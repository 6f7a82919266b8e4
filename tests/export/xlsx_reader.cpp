#include "xlsx_reader.h"

#include <cmath>
#include <stdexcept>
#include <string_view>

#include "zip_reader.h"

namespace tc101::testing {

namespace {

// The elements <tag ...>...</tag> or <tag .../> in xml, each as its full text.
std::vector<std::string_view> Elements(std::string_view xml, std::string_view tag) {
    std::vector<std::string_view> found;
    const std::string open = "<" + std::string(tag);
    const std::string close = "</" + std::string(tag) + ">";
    size_t at = 0;
    while ((at = xml.find(open, at)) != std::string_view::npos) {
        const char next = xml[at + open.size()];
        if (next != ' ' && next != '>' && next != '/') {
            at += open.size();
            continue;
        }
        const size_t headEnd = xml.find('>', at);
        size_t end = headEnd + 1;
        if (xml[headEnd - 1] != '/') end = xml.find(close, headEnd) + close.size();
        found.push_back(xml.substr(at, end - at));
        at = end;
    }
    return found;
}

std::string Attribute(std::string_view element, std::string_view name) {
    const std::string key = " " + std::string(name) + "=\"";
    const size_t at = element.find(key);
    if (at == std::string_view::npos || at > element.find('>')) return {};
    const size_t start = at + key.size();
    return std::string(element.substr(start, element.find('"', start) - start));
}

std::string Unescape(std::string_view text) {
    static const std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    for (size_t i = 0; i < text.size();) {
        bool replaced = false;
        for (const auto& [entity, ch] : kEntities) {
            if (text.substr(i, entity.size()) == entity) {
                out += ch;
                i += entity.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) out += text[i++];
    }
    return out;
}

// The text content of the first <tag> inside element.
std::string Content(std::string_view element, std::string_view tag) {
    const auto inner = Elements(element, tag);
    if (inner.empty()) return {};
    const std::string_view whole = inner.front();
    if (whole.ends_with("/>")) return {};
    const size_t start = whole.find('>') + 1;
    const size_t end = whole.rfind("</");
    return Unescape(whole.substr(start, end - start));
}

std::pair<int, int> CellReference(const std::string& ref) {
    int col = 0;
    size_t i = 0;
    for (; i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z'; ++i) col = col * 26 + (ref[i] - 'A' + 1);
    return {col, std::stoi(ref.substr(i))};
}

// Undoes the spreadsheet's stored width (characters plus padding, in 1/256).
int WidthInCharacters(double stored) {
    constexpr double kDigitPixels = 7;
    constexpr int kPaddingPixels = 5;
    if (stored <= 0) return 0;
    const int pixels = static_cast<int>(std::lround(stored * kDigitPixels));
    return static_cast<int>((pixels - kPaddingPixels) / kDigitPixels);
}

const std::string& Member(const std::map<std::string, std::string>& zip, const std::string& name) {
    const auto it = zip.find(name);
    if (it == zip.end()) throw std::runtime_error("workbook has no " + name);
    return it->second;
}

}  // namespace

int Sheet::ColumnCount() const {
    int count = 0;
    for (const auto& [at, cell] : cells) count = std::max(count, at.first);
    return count;
}

int Sheet::RowCount() const {
    int count = 0;
    for (const auto& [at, cell] : cells) count = std::max(count, at.second);
    return count;
}

std::vector<Sheet> ReadWorkbook(const std::filesystem::path& file) {
    const auto zip = ReadZip(file);

    std::vector<std::string> strings;
    if (zip.contains("xl/sharedStrings.xml"))
        for (const auto si : Elements(Member(zip, "xl/sharedStrings.xml"), "si")) strings.push_back(Content(si, "t"));

    std::vector<bool> centredStyles;
    const auto cellXfs = Elements(Member(zip, "xl/styles.xml"), "cellXfs");
    if (!cellXfs.empty())
        for (const auto xf : Elements(cellXfs.front(), "xf"))
            centredStyles.push_back(xf.find("horizontal=\"center\"") != std::string_view::npos);

    std::vector<Sheet> sheets;
    int index = 0;
    for (const auto entry : Elements(Member(zip, "xl/workbook.xml"), "sheet")) {
        Sheet sheet;
        sheet.name = Unescape(Attribute(entry, "name"));
        const std::string& xml = Member(zip, "xl/worksheets/sheet" + std::to_string(++index) + ".xml");
        for (const auto col : Elements(xml, "col")) {
            const int width = WidthInCharacters(std::stod(Attribute(col, "width")));
            for (int c = std::stoi(Attribute(col, "min")); c <= std::stoi(Attribute(col, "max")); ++c)
                sheet.widths[c] = width;
        }
        for (const auto c : Elements(xml, "c")) {
            SheetCell cell;
            const std::string type = Attribute(c, "t");
            if (type == "s")
                cell.text = strings.at(std::stoul(Content(c, "v")));
            else if (type == "inlineStr")
                cell.text = Content(c, "t");
            else
                cell.text = Content(c, "v");
            cell.number = type.empty() || type == "n";
            const std::string style = Attribute(c, "s");
            cell.centred = !style.empty() && centredStyles.at(std::stoul(style));
            sheet.cells[CellReference(Attribute(c, "r"))] = cell;
        }
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

}  // namespace tc101::testing
