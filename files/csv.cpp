#include "files/csv.h"

#include "files/utf8.h"

namespace tc101 {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kRecordEnd = "\r\n";
constexpr char kCsvSeparator = ',';
constexpr char kCsvQuote = '"';

void CheckUtf8(std::string_view text) {
    int line = 1;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceLength(text.substr(i));
        if (length == 0) throw CsvError(line, "the text is not UTF-8");
        if (text[i] == '\n') ++line;
        i += length;
    }
}

// Reads the CSV text one field at a time, counting lines.
class CsvReader {
public:
    explicit CsvReader(std::string_view text) : text_(text) {}

    std::vector<CsvRecord> Records() {
        std::vector<CsvRecord> records;
        while (pos_ < text_.size()) {
            if (AtLineEnd()) {  // an empty line
                SkipLineEnd();
                continue;
            }
            CsvRecord record{line_, {}};
            for (;;) {
                record.fields.push_back(Field());
                if (pos_ < text_.size() && text_[pos_] == kCsvSeparator) {
                    ++pos_;
                    continue;
                }
                SkipLineEnd();
                break;
            }
            records.push_back(std::move(record));
        }
        return records;
    }

private:
    bool AtLineEnd() const { return text_[pos_] == '\n' || text_.substr(pos_, 2) == kRecordEnd; }

    void SkipLineEnd() {
        if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n') {
            ++pos_;
            ++line_;
        }
    }

    std::string Field() {
        if (pos_ < text_.size() && text_[pos_] == kCsvQuote) return QuotedField();
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != kCsvSeparator && !AtLineEnd()) {
            if (text_[pos_] == kCsvQuote) throw CsvError(line_, "a double quote inside a field that is not quoted");
            if (text_[pos_] == '\r') throw CsvError(line_, "a carriage return inside a field that is not quoted");
            ++pos_;
        }
        return std::string(text_.substr(start, pos_ - start));
    }

    std::string QuotedField() {
        const int startLine = line_;
        std::string field;
        ++pos_;
        for (;;) {
            if (pos_ >= text_.size()) throw CsvError(startLine, "a double quote that is never closed");
            const char c = text_[pos_++];
            if (c == '\n') ++line_;
            if (c != kCsvQuote) {
                field += c;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == kCsvQuote) {
                field += kCsvQuote;
                ++pos_;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] != kCsvSeparator && !AtLineEnd())
                throw CsvError(line_, "text after a closing double quote");
            return field;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

bool FieldNeedsQuotes(std::string_view field) { return field.find_first_of(",\"\r\n") != std::string_view::npos; }

}  // namespace

CsvError::CsvError(int line, const std::string& reason)
    : std::runtime_error("line " + std::to_string(line) + ": " + reason), line_(line) {}

std::vector<CsvRecord> ParseCsv(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    CheckUtf8(text);
    return CsvReader(text).Records();
}

std::string WriteCsv(const std::vector<std::vector<std::string>>& rows) {
    std::string out;
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0) out += kCsvSeparator;
            if (!FieldNeedsQuotes(row[i])) {
                out += row[i];
                continue;
            }
            out += kCsvQuote;
            for (const char c : row[i]) {
                if (c == kCsvQuote) out += kCsvQuote;
                out += c;
            }
            out += kCsvQuote;
        }
        out += kRecordEnd;
    }
    return out;
}

}  // namespace tc101
