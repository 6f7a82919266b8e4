#pragma once

// Device addresses as the user writes them in 设备地址 or after --address:
// one number, or a list of numbers and ranges such as "1,2,5-7", polled in
// the order written.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace tc101 {

// A list that cannot be used; the message names what is wrong.
class AddressListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Most devices one line is polled for.
inline constexpr std::size_t kMaxPolledAddresses = 256;

// Whether the text is one whole number (a sign allowed), which is taken as
// it always was: as it is, whatever the link address size.
bool IsSingleAddress(std::string_view text);

// The addresses of a list. One number comes back as it is; in a list, each
// item is N or A-B (A not above B), every address from 0 to the largest
// link address of linkOctets octets, none twice, at most kMaxPolledAddresses.
// Spaces around items are allowed. Throws AddressListError.
std::vector<std::int64_t> ParseAddressList(std::string_view text, int linkOctets);

}  // namespace tc101
