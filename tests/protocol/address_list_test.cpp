// 设备地址 and --address: one number as always, or a list of devices.

#include "protocol/address_list.h"

#include <gtest/gtest.h>

namespace tc101 {
namespace {

TEST(AddressList, ReadsNumbersListsAndRangesAndNamesWhatIsWrong) {
    struct Case {
        const char* text;
        int linkOctets;
        std::vector<std::int64_t> addresses;  // empty: refused
        const char* error;                    // part of the message
    };
    const Case cases[] = {
        // One number is taken as it always was, whatever the size.
        {"1", 1, {1}, ""},
        {"300", 1, {300}, ""},
        {"-5", 1, {-5}, ""},
        {" 7 ", 2, {7}, ""},
        // Lists and ranges, in the order written.
        {"1,2,5-7", 1, {1, 2, 5, 6, 7}, ""},
        {"3, 1 ,2", 1, {3, 1, 2}, ""},
        {"9-9", 1, {9}, ""},
        {"0-2,255", 1, {0, 1, 2, 255}, ""},
        {"256,65535", 2, {256, 65535}, ""},
        // Bad syntax.
        {"1,,2", 1, {}, "空项"},
        {"1,", 1, {}, "空项"},
        {"1,x", 1, {}, "\"x\" 不是地址"},
        {"1-", 1, {}, "\"1-\" 不是地址"},
        {"1,-3", 1, {}, "\"-3\" 不是地址"},
        {"1-2-3", 1, {}, "不是地址"},
        {"7-5", 1, {}, "\"7-5\" 应从小到大"},
        // Beyond the link address size.
        {"1,256", 1, {}, "256 超出链路地址范围 0-255"},
        {"1,65536", 2, {}, "65536 超出链路地址范围 0-65535"},
        {"1,99999999999999999999", 2, {}, "超出链路地址范围"},
        // Twice.
        {"1,2,1", 1, {}, "设备地址 1 重复"},
        {"1-5,4", 1, {}, "设备地址 4 重复"},
        // More than one line is polled for.
        {"0-255,", 1, {}, "空项"},
        {"0-256", 2, {}, "最多 256 个"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.addresses.empty()) {
            try {
                ParseAddressList(c.text, c.linkOctets);
                ADD_FAILURE() << "accepted";
            } catch (const AddressListError& error) {
                EXPECT_NE(std::string(error.what()).find(c.error), std::string::npos) << error.what();
            }
        } else {
            EXPECT_EQ(ParseAddressList(c.text, c.linkOctets), c.addresses);
        }
    }
}

}  // namespace
}  // namespace tc101
