#include "protocol/address_list.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <unordered_set>

namespace tc101 {

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// A decimal address within 0..max; the item is named in the message.
std::int64_t ReadAddress(std::string_view digits, std::string_view item, std::int64_t max) {
    if (!AllDigits(digits))
        throw AddressListError("设备地址中的 " + Quoted(item) + " 不是地址或地址范围(例如 1,2,5-7)");
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size() || value > max)
        throw AddressListError("设备地址 " + std::string(digits) + " 超出链路地址范围 0-" + std::to_string(max));
    return value;
}

}  // namespace

bool IsSingleAddress(std::string_view text) {
    text = Trimmed(text);
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    return AllDigits(text);
}

std::vector<std::int64_t> ParseAddressList(std::string_view text, int linkOctets) {
    if (IsSingleAddress(text)) {
        const std::string_view number = Trimmed(text);
        std::int64_t value = 0;
        const auto* first = number.data() + (number.front() == '+' ? 1 : 0);
        const auto [end, error] = std::from_chars(first, number.data() + number.size(), value);
        if (error != std::errc{} || end != number.data() + number.size())
            throw AddressListError("设备地址 " + std::string(number) + " 太大");
        return {value};
    }
    const std::int64_t max = linkOctets == 2 ? 0xFFFF : 0xFF;
    std::vector<std::int64_t> addresses;
    std::unordered_set<std::int64_t> seen;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = text.find(',', from);
        const std::size_t length = comma == std::string_view::npos ? text.npos : comma - from;
        const std::string_view item = Trimmed(text.substr(from, length));
        if (item.empty()) throw AddressListError("设备地址 " + Quoted(text) + " 中有空项");
        const std::size_t dash = item.find('-');
        const std::int64_t low = ReadAddress(Trimmed(item.substr(0, dash)), item, max);
        const std::int64_t high =
            dash == std::string_view::npos ? low : ReadAddress(Trimmed(item.substr(dash + 1)), item, max);
        if (high < low) throw AddressListError("设备地址范围 " + Quoted(item) + " 应从小到大");
        for (std::int64_t address = low; address <= high; ++address) {
            if (!seen.insert(address).second)
                throw AddressListError("设备地址 " + std::to_string(address) + " 重复");
            if (addresses.size() == kMaxPolledAddresses)
                throw AddressListError("设备地址最多 " + std::to_string(kMaxPolledAddresses) + " 个");
            addresses.push_back(address);
        }
        if (comma == std::string_view::npos) return addresses;
        from = comma + 1;
    }
}

}  // namespace tc101
