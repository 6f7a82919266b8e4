#include "protocol/explain/standard_names.h"

#include <array>

namespace tc101 {

namespace {

constexpr StandardName kReserved{"reserved", "备用"};

constexpr std::array<StandardName, 16> kPrimary = {{
    {"reset of remote link", "复位远方链路"},
    {"reset of user process", "复位用户进程"},
    {"test function for link", "链路测试功能"},
    {"user data, confirm expected", "传送数据(需确认)"},
    {"user data, no reply expected", "传送数据(无需回答)"},
    kReserved,
    kReserved,
    kReserved,
    {"request for access demand", "响应帧应说明访问要求"},
    {"request status of link", "召唤链路状态"},
    {"request user data class 1", "召唤一级用户数据"},
    {"request user data class 2", "召唤二级用户数据"},
    kReserved,
    kReserved,
    kReserved,
    kReserved,
}};

constexpr std::array<StandardName, 16> kSecondary = {{
    {"ACK: positive acknowledgement", "确认"},
    {"NACK: message not accepted, link busy", "否定确认:链路忙"},
    kReserved,
    kReserved,
    kReserved,
    kReserved,
    kReserved,
    kReserved,
    {"user data", "以数据响应请求"},
    {"NACK: requested data not available", "无所请求的数据"},
    kReserved,
    {"status of link or access demand", "链路状态或访问请求"},
    kReserved,
    kReserved,
    {"link service not functioning", "链路服务未工作"},
    {"link service not implemented", "链路服务未完成"},
}};

constexpr std::array<StandardName, 48> kCauses = {{
    {"not used", "未用"},
    {"per/cyc", "周期、循环"},
    {"back", "背景扫描"},
    {"spont", "突发(自发)"},
    {"init", "初始化"},
    {"req", "请求或被请求"},
    {"act", "激活"},
    {"actcon", "激活确认"},
    {"deact", "停止激活"},
    {"deactcon", "停止激活确认"},
    {"actterm", "激活终止"},
    {"retrem", "远方命令引起的返送信息"},
    {"retloc", "当地命令引起的返送信息"},
    {"file", "文件传输"},
    kReserved, kReserved, kReserved, kReserved, kReserved, kReserved,
    {"inrogen", "响应站召唤"},
    {"inro1", "响应第1组召唤"},
    {"inro2", "响应第2组召唤"},
    {"inro3", "响应第3组召唤"},
    {"inro4", "响应第4组召唤"},
    {"inro5", "响应第5组召唤"},
    {"inro6", "响应第6组召唤"},
    {"inro7", "响应第7组召唤"},
    {"inro8", "响应第8组召唤"},
    {"inro9", "响应第9组召唤"},
    {"inro10", "响应第10组召唤"},
    {"inro11", "响应第11组召唤"},
    {"inro12", "响应第12组召唤"},
    {"inro13", "响应第13组召唤"},
    {"inro14", "响应第14组召唤"},
    {"inro15", "响应第15组召唤"},
    {"inro16", "响应第16组召唤"},
    {"reqcogen", "响应计数量站召唤"},
    {"reqco1", "响应第1组计数量召唤"},
    {"reqco2", "响应第2组计数量召唤"},
    {"reqco3", "响应第3组计数量召唤"},
    {"reqco4", "响应第4组计数量召唤"},
    kReserved, kReserved,
    {"unknown type", "未知的类型标识"},
    {"unknown cause", "未知的传送原因"},
    {"unknown common address", "未知的公共地址"},
    {"unknown object address", "未知的信息对象地址"},
}};

}  // namespace

StandardName FunctionName(bool primary, std::uint8_t function, bool balanced) {
    function &= 0x0F;
    // Class 1 and 2 requests and access demand belong to the unbalanced procedure only.
    if (balanced && primary && (function == 8 || function == 10 || function == 11)) return kReserved;
    if (balanced && !primary && (function == 8 || function == 9)) return kReserved;
    return primary ? kPrimary[function] : kSecondary[function];
}

StandardName CauseName(std::uint8_t cause) {
    cause &= 0x3F;
    return cause < kCauses.size() ? kCauses[cause] : kReserved;
}

}  // namespace tc101
