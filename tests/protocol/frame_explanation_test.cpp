// 报文详解 over a hand-checked corpus: every standard type's objects, the
// header under every field size, frames that break off, and the JSON keys.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "explain_corpus.h"
#include "protocol/explain/explanation_text.h"
#include "protocol/explain/frame_explanation.h"

namespace tc101 {
namespace {

using testing::Octets;
using testing::SizedFrame;

// ms 1234, 34 min, 12 h, Sunday the 8th, December 2026.
constexpr std::string_view kCp56 = "D2 04 22 0C E8 0C 1A";
constexpr std::string_view kCp56Text = "\"2026-12-08T12:34:01.234\"";

struct TypeCase {
    std::uint8_t ti;
    std::string_view name;
    std::string objects;   // octets after the common address (object address two octets)
    std::string expected;  // the "objects" array as JSON
    std::uint8_t vsq = 1;
};

std::string WithCp56(std::string_view objects) { return std::string(objects) + " " + std::string(kCp56); }

const std::vector<TypeCase>& TypeCorpus() {
    const std::string t = std::string(kCp56Text);
    static const std::vector<TypeCase> cases = {
        {1, "M_SP_NA_1", "01 00 81", R"([{"ioa":1,"value":1,"quality":["IV"],"time":null}])"},
        {2, "M_SP_TA_1", "05 00 01 39 30 0C", R"([{"ioa":5,"value":1,"quality":[],"time":"12:12.345"}])"},
        {3, "M_DP_NA_1", "02 00 42", R"([{"ioa":2,"value":2,"quality":["NT"],"time":null}])"},
        {4, "M_DP_TA_1", "03 00 01 E8 03 8A", R"([{"ioa":3,"value":1,"quality":[],"time":"10:01.000"}])"},
        {5, "M_ST_NA_1", "07 00 C5 01", R"([{"ioa":7,"value":-59,"quality":["OV"],"time":null,"T":1}])"},
        {6, "M_ST_TA_1", "07 00 05 00 10 27 3B", R"([{"ioa":7,"value":5,"quality":[],"time":"59:10.000","T":0}])"},
        {7, "M_BO_NA_1", "08 00 78 56 34 12 00", R"([{"ioa":8,"value":305419896,"quality":[],"time":null}])"},
        {8, "M_BO_TA_1", "08 00 FF FF FF FF 10 00 00 00",
         R"([{"ioa":8,"value":4294967295,"quality":["BL"],"time":"00:00.000"}])"},
        {9, "M_ME_NA_1", "01 40 00 40 00", R"([{"ioa":16385,"value":16384,"quality":[],"time":null,"fraction":0.5}])"},
        {10, "M_ME_TA_1", "01 40 00 C0 80 D0 07 05",
         R"([{"ioa":16385,"value":-16384,"quality":["IV"],"time":"05:02.000","fraction":-0.5}])"},
        {11, "M_ME_NB_1", "02 40 39 30 00", R"([{"ioa":16386,"value":12345,"quality":[],"time":null}])"},
        {12, "M_ME_TB_1", "02 40 C7 CF 20 00 00 00",
         R"([{"ioa":16386,"value":-12345,"quality":["SB"],"time":"00:00.000"}])"},
        {13, "M_ME_NC_1", "03 40 00 00 C0 3F 00", R"([{"ioa":16387,"value":1.5,"quality":[],"time":null}])"},
        {14, "M_ME_TC_1", "03 40 CD CC 8C 3F 00 E8 03 01",
         R"([{"ioa":16387,"value":1.1,"quality":[],"time":"01:01.000"}])"},
        {15, "M_IT_NA_1", "01 64 D2 04 00 00 25", R"([{"ioa":25601,"value":1234,"quality":["CY"],"time":null,"SQ":5}])"},
        {16, "M_IT_TA_1", "02 64 FF FF FF FF C0 00 00 00",
         R"([{"ioa":25602,"value":-1,"quality":["IV","CA"],"time":"00:00.000","SQ":0}])"},
        {17, "M_EP_TA_1", "01 00 0A 64 00 E8 03 02",
         R"([{"ioa":1,"value":2,"quality":["EI"],"time":"02:01.000","CP16":100}])"},
        {18, "M_EP_TB_1", "01 00 03 80 C8 00 00 00 00",
         R"([{"ioa":1,"value":3,"quality":["IV"],"time":"00:00.000","GS":1,"SL1":1,"SL2":0,"SL3":0,"SIE":0,"SRD":0,"CP16":200}])"},
        {19, "M_EP_TC_1", "01 00 05 00 2C 01 00 00 00",
         R"([{"ioa":1,"value":5,"quality":[],"time":"00:00.000","GC":1,"CL1":0,"CL2":1,"CL3":0,"CP16":300}])"},
        {20, "M_PS_NA_1", "01 00 0F 00 01 00 00", R"([{"ioa":1,"value":15,"quality":[],"time":null,"CD":1}])"},
        {21, "M_ME_ND_1", "01 40 E8 03 18 FC",
         R"([{"ioa":16385,"value":1000,"quality":[],"time":null,"fraction":0.030517578125},)"
         R"({"ioa":16386,"value":-1000,"quality":[],"time":null,"fraction":-0.030517578125}])",
         0x82},
        {30, "M_SP_TB_1", WithCp56("01 00 01"), R"([{"ioa":1,"value":1,"quality":[],"time":)" + t + "}]"},
        {31, "M_DP_TB_1", WithCp56("01 00 11"), R"([{"ioa":1,"value":1,"quality":["BL"],"time":)" + t + "}]"},
        {32, "M_ST_TB_1", WithCp56("01 00 3F 00"), R"([{"ioa":1,"value":63,"quality":[],"time":)" + t + R"(,"T":0}])"},
        {33, "M_BO_TB_1", WithCp56("01 00 01 00 00 00 00"), R"([{"ioa":1,"value":1,"quality":[],"time":)" + t + "}]"},
        {34, "M_ME_TD_1", WithCp56("01 00 FF 7F 00"),
         R"([{"ioa":1,"value":32767,"quality":[],"time":)" + t + R"(,"fraction":0.999969482421875}])"},
        {35, "M_ME_TE_1", WithCp56("01 00 00 80 00"), R"([{"ioa":1,"value":-32768,"quality":[],"time":)" + t + "}]"},
        {36, "M_ME_TF_1", WithCp56("01 00 00 00 20 C1 00"), R"([{"ioa":1,"value":-10,"quality":[],"time":)" + t + "}]"},
        {37, "M_IT_TB_1", WithCp56("01 00 64 00 00 00 01"),
         R"([{"ioa":1,"value":100,"quality":[],"time":)" + t + R"(,"SQ":1}])"},
        {38, "M_EP_TD_1", WithCp56("01 00 01 0A 00"), R"([{"ioa":1,"value":1,"quality":[],"time":)" + t + R"(,"CP16":10}])"},
        {39, "M_EP_TE_1", WithCp56("01 00 20 00 0A 00"),
         R"([{"ioa":1,"value":32,"quality":[],"time":)" + t +
             R"(,"GS":0,"SL1":0,"SL2":0,"SL3":0,"SIE":0,"SRD":1,"CP16":10}])"},
        {40, "M_EP_TF_1", WithCp56("01 00 0E 00 0A 00"),
         R"([{"ioa":1,"value":14,"quality":[],"time":)" + t + R"(,"GC":0,"CL1":1,"CL2":1,"CL3":1,"CP16":10}])"},
        {45, "C_SC_NA_1", "01 60 81", R"([{"ioa":24577,"value":{"SCS":1,"QU":0,"S/E":1},"quality":[],"time":null}])"},
        {46, "C_DC_NA_1", "02 60 06", R"([{"ioa":24578,"value":{"DCS":2,"QU":1,"S/E":0},"quality":[],"time":null}])"},
        {47, "C_RC_NA_1", "03 60 0D", R"([{"ioa":24579,"value":{"RCS":1,"QU":3,"S/E":0},"quality":[],"time":null}])"},
        {48, "C_SE_NA_1", "01 62 00 40 80",
         R"([{"ioa":25089,"value":{"NVA":16384,"fraction":0.5,"QL":0,"S/E":1},"quality":[],"time":null}])"},
        {49, "C_SE_NB_1", "02 62 64 00 00",
         R"([{"ioa":25090,"value":{"SVA":100,"QL":0,"S/E":0},"quality":[],"time":null}])"},
        {50, "C_SE_NC_1", "03 62 00 00 48 42 00",
         R"([{"ioa":25091,"value":{"IEEE754":50,"QL":0,"S/E":0},"quality":[],"time":null}])"},
        {51, "C_BO_NA_1", "04 62 0F 00 00 00", R"([{"ioa":25092,"value":{"BSI":15},"quality":[],"time":null}])"},
        {58, "C_SC_TA_1", WithCp56("01 60 01"),
         R"([{"ioa":24577,"value":{"SCS":1,"QU":0,"S/E":0},"quality":[],"time":)" + t + "}]"},
        {59, "C_DC_TA_1", WithCp56("01 60 81"),
         R"([{"ioa":24577,"value":{"DCS":1,"QU":0,"S/E":1},"quality":[],"time":)" + t + "}]"},
        {60, "C_RC_TA_1", WithCp56("01 60 02"),
         R"([{"ioa":24577,"value":{"RCS":2,"QU":0,"S/E":0},"quality":[],"time":)" + t + "}]"},
        {61, "C_SE_TA_1", WithCp56("01 62 00 C0 00"),
         R"([{"ioa":25089,"value":{"NVA":-16384,"fraction":-0.5,"QL":0,"S/E":0},"quality":[],"time":)" + t + "}]"},
        {62, "C_SE_TB_1", WithCp56("01 62 FF FF 00"),
         R"([{"ioa":25089,"value":{"SVA":-1,"QL":0,"S/E":0},"quality":[],"time":)" + t + "}]"},
        {63, "C_SE_TC_1", WithCp56("01 62 00 00 80 BF 00"),
         R"([{"ioa":25089,"value":{"IEEE754":-1,"QL":0,"S/E":0},"quality":[],"time":)" + t + "}]"},
        {64, "C_BO_TA_1", WithCp56("01 62 00 00 00 80"),
         R"([{"ioa":25089,"value":{"BSI":2147483648},"quality":[],"time":)" + t + "}]"},
        {70, "M_EI_NA_1", "00 00 82", R"([{"ioa":0,"value":{"COI":2,"BS":1},"quality":[],"time":null}])"},
        {100, "C_IC_NA_1", "00 00 14", R"([{"ioa":0,"value":{"QOI":20},"quality":[],"time":null}])"},
        {101, "C_CI_NA_1", "00 00 45", R"([{"ioa":0,"value":{"RQT":5,"FRZ":1},"quality":[],"time":null}])"},
        {102, "C_RD_NA_1", "01 40", R"([{"ioa":16385,"value":{},"quality":[],"time":null}])"},
        {103, "C_CS_NA_1", WithCp56("00 00"), R"([{"ioa":0,"value":{},"quality":[],"time":)" + t + "}]"},
        {104, "C_TS_NA_1", "00 00 AA 55", R"([{"ioa":0,"value":{"FBP":21930},"quality":[],"time":null}])"},
        {105, "C_RP_NA_1", "00 00 01", R"([{"ioa":0,"value":{"QRP":1},"quality":[],"time":null}])"},
        {106, "C_CD_NA_1", "00 00 E8 03", R"([{"ioa":0,"value":{"CP16":1000},"quality":[],"time":null}])"},
        {107, "C_TS_TA_1", WithCp56("00 00 05 00"), R"([{"ioa":0,"value":{"TSC":5},"quality":[],"time":)" + t + "}]"},
        {110, "P_ME_NA_1", "01 40 00 10 01",
         R"([{"ioa":16385,"value":{"NVA":4096,"fraction":0.125,"KPA":1,"LPC":0,"POP":0},"quality":[],"time":null}])"},
        {111, "P_ME_NB_1", "02 40 0A 00 02",
         R"([{"ioa":16386,"value":{"SVA":10,"KPA":2,"LPC":0,"POP":0},"quality":[],"time":null}])"},
        {112, "P_ME_NC_1", "03 40 00 00 80 3F 43",
         R"([{"ioa":16387,"value":{"IEEE754":1,"KPA":3,"LPC":1,"POP":0},"quality":[],"time":null}])"},
        {113, "P_AC_NA_1", "01 40 01", R"([{"ioa":16385,"value":{"QPA":1},"quality":[],"time":null}])"},
        {120, "F_FR_NA_1", "01 00 02 00 00 10 00 00",
         R"([{"ioa":1,"value":{"NOF":2,"LOF":4096,"FRQ":0},"quality":[],"time":null}])"},
        {121, "F_SR_NA_1", "01 00 02 00 01 00 04 00 80",
         R"([{"ioa":1,"value":{"NOF":2,"NOS":1,"LOF":1024,"SRQ":128},"quality":[],"time":null}])"},
        {122, "F_SC_NA_1", "01 00 02 00 01 06",
         R"([{"ioa":1,"value":{"NOF":2,"NOS":1,"SCQ":6},"quality":[],"time":null}])"},
        {123, "F_LS_NA_1", "01 00 02 00 01 03 AB",
         R"([{"ioa":1,"value":{"NOF":2,"NOS":1,"LSQ":3,"CHS":171},"quality":[],"time":null}])"},
        {124, "F_AF_NA_1", "01 00 02 00 01 03",
         R"([{"ioa":1,"value":{"NOF":2,"NOS":1,"AFQ":3},"quality":[],"time":null}])"},
        {125, "F_SG_NA_1", "01 00 02 00 01 03 11 22 33",
         R"([{"ioa":1,"value":{"NOF":2,"NOS":1,"LOS":3,"segment":"11 22 33"},"quality":[],"time":null}])"},
        {126, "F_DR_TA_1", WithCp56("01 00 02 00 00 04 00 20"),
         R"([{"ioa":1,"value":{"NOF":2,"LOF":1024,"SOF":32},"quality":[],"time":)" + t + "}]"},
        {127, "F_SC_NB_1", WithCp56(WithCp56("01 00 02 00")),
         R"([{"ioa":1,"value":{"NOF":2,"stop":"2026-12-08T12:34:01.234"},"quality":[],"time":)" + t + "}]"},
    };
    return cases;
}

const JsonValue& Member(const JsonValue& object, std::string_view key) {
    const JsonValue* value = object.Find(key);
    EXPECT_NE(value, nullptr) << key;
    static const JsonValue kNull;
    return value ? *value : kNull;
}

TEST(FrameExplanation, EveryTypeDecodesOnHandCheckedFrames) {
    for (const TypeCase& c : TypeCorpus()) {
        SCOPED_TRACE(c.name);
        testing::AsduHead head;
        head.ti = c.ti;
        head.vsq = c.vsq;
        const FrameExplanation e = ExplainFrame(SizedFrame(FieldSizes{}, head, Octets(c.objects)), ExplainOptions{});
        const JsonValue json = e.Json();
        const ExplainNode tree = e.Tree();
        EXPECT_TRUE(Member(json, "error").IsNull()) << Member(json, "error").AsText();
        const JsonValue& asdu = Member(json, "asdu");
        EXPECT_EQ(Member(asdu, "ti_name").AsText(), c.name);
        EXPECT_EQ(Member(asdu, "objects").Dump(), c.expected);
        // Every object is a node of the tree, under the ASDU.
        ASSERT_EQ(tree.children.size(), 2u);
        EXPECT_EQ(tree.children[1].children.size(), 4 + (c.vsq & 0x7F));
    }
}

TEST(FrameExplanation, HeaderFieldsFollowEveryFieldSize) {
    for (int la : {0, 1, 2})
        for (int cot : {1, 2})
            for (int ca : {1, 2})
                for (int ioa : {1, 2, 3}) {
                    const FieldSizes sizes{la, cot, ca, ioa};
                    SCOPED_TRACE(::testing::Message() << la << '/' << cot << '/' << ca << '/' << ioa);
                    testing::AsduHead head{0x28, la == 2 ? 0x0201u : 1u, 1, 2, 0x43, 7, ca == 2 ? 0x0302u : 3u};
                    std::vector<std::uint8_t> objects;
                    for (std::uint32_t address : {0x030201u, 0x0000FEu}) {
                        testing::PutLittleEndian(objects, address, ioa);
                        objects.push_back(1);
                    }
                    const auto frame = SizedFrame(sizes, head, objects);
                    const FrameExplanation e = ExplainFrame(frame, ExplainOptions{sizes, la == 0});
                    const JsonValue json = e.Json();
                    EXPECT_TRUE(Member(json, "error").IsNull()) << Member(json, "error").AsText();
                    EXPECT_TRUE(Member(json, "checksum_ok").AsBool());
                    const JsonValue& link = Member(json, "link");
                    if (la == 0) {
                        EXPECT_TRUE(Member(link, "address").IsNull());
                    } else {
                        EXPECT_EQ(Member(link, "address").AsInt(), la == 2 ? 0x0201 : 1);
                    }
                    EXPECT_EQ(link.Find("acd") != nullptr, la != 0);  // a balanced secondary frame has no ACD
                    const JsonValue& asdu = Member(json, "asdu");
                    EXPECT_EQ(Member(asdu, "cot").AsInt(), 3);
                    EXPECT_TRUE(Member(asdu, "negative").AsBool());
                    EXPECT_EQ(Member(asdu, "originator").Dump(), cot == 2 ? "7" : "null");
                    EXPECT_EQ(Member(asdu, "ca").AsInt(), ca == 2 ? 0x0302 : 3);
                    const auto& items = Member(asdu, "objects").Items();
                    ASSERT_EQ(items.size(), 2u);
                    const std::uint32_t mask = ioa == 3 ? 0xFFFFFF : (ioa == 2 ? 0xFFFF : 0xFF);
                    EXPECT_EQ(Member(items[0], "ioa").AsInt(), 0x030201 & mask);
                    EXPECT_EQ(Member(items[1], "ioa").AsInt(), 0xFE);
                }
}

TEST(FrameExplanation, BrokenFramesAreExplainedUpToWhereTheyStop) {
    struct Case {
        std::string frame;
        bool checksumOk;
        std::size_t objects;
        std::string error;  // empty: none
    };
    const FieldSizes sizes;
    const auto hex = [](const std::vector<std::uint8_t>& octets) { return BytesToHexText(octets); };
    const std::vector<Case> cases = {
        // Two measured values announced, the second cut after one octet.
        {hex(SizedFrame(sizes, {0x08, 1, 9, 2, 3, 0, 1}, Octets("01 40 E8 03 00 02 40 E8"))), true, 1,
         "第2个信息对象在第18个八位位组处超出帧尾 (需要2个, 仅剩1个)"},
        // Address of the second object missing.
        {hex(SizedFrame(sizes, {0x08, 1, 1, 2, 3, 0, 1}, Octets("01 00 01 02"))), true, 1,
         "第2个信息对象的地址在第14个八位位组处超出帧尾 (需要2个, 仅剩1个)"},
        {hex(SizedFrame(sizes, {0x08, 1, 200, 1, 3, 0, 1}, Octets("01 00 01"))), true, 0,
         "未知的类型标识 TI=200, 从第11个八位位组起的信息对象无法解析"},
        {hex(SizedFrame(sizes, {0x08, 1, 1, 1, 3, 0, 1}, Octets("01 00 01 FF"))), true, 1,
         "信息对象之后多出1个八位位组 (从第14个起)"},
        // ASDU header cut after the cause.
        {"68 05 05 68 08 01 01 01 03 0E 16", true, 0, "ASDU 头在第7个八位位组处超出帧尾 (需要4个, 仅剩3个)"},
        {"68 01 01 68 08 08 16", true, 0, "控制域和链路地址在第5个八位位组处超出帧尾 (需要2个, 仅剩1个)"},
        {"68 09 09 68 53 01 64 01 06 01 00 00 14 D5 16", false, 1, ""},
        {"10 49 01 4B 16", false, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        const FrameExplanation e = ExplainFrame(Octets(c.frame), ExplainOptions{});
        const JsonValue json = e.Json();
        EXPECT_EQ(Member(json, "checksum_ok").AsBool(), c.checksumOk);
        EXPECT_EQ(Member(json, "error").IsNull() ? std::string() : Member(json, "error").AsText(), c.error);
        const JsonValue* asdu = json.Find("asdu");
        const std::size_t objects = asdu && !asdu->IsNull() ? Member(*asdu, "objects").Items().size() : 0;
        EXPECT_EQ(objects, c.objects);
        if (!c.error.empty()) {
            const ExplainNode tree = e.Tree();
            ASSERT_FALSE(tree.children.empty());
            EXPECT_EQ(tree.children.back().text, "解析停止: " + c.error);
        }
    }
}

// The keys scripts rely on, in order, for each format and link direction.
TEST(FrameExplanation, JsonKeysFollowTheContract) {
    const auto keys = [](const JsonValue& object) {
        std::string out;
        for (const auto& [key, value] : object.Members()) out += std::string(key) + ' ';
        return out;
    };
    const JsonValue fixed = ExplainFrame(Octets("10 49 01 4A 16"), {}).Json();
    EXPECT_EQ(keys(fixed), "frame format checksum_ok link error ");
    EXPECT_EQ(keys(Member(fixed, "link")), "prm fc fc_name address fcb fcv ");
    EXPECT_EQ(fixed.Dump(),
              R"({"frame":"10 49 01 4A 16","format":"fixed","checksum_ok":true,"link":{"prm":1,"fc":9,)"
              R"("fc_name":"request status of link","address":1,"fcb":0,"fcv":0},"error":null})");
    const JsonValue reply = ExplainFrame(Octets("10 8B 01 8C 16"), ExplainOptions{FieldSizes{}, true}).Json();
    EXPECT_EQ(keys(Member(reply, "link")), "prm fc fc_name dir address dfc ");
    const JsonValue variable =
        ExplainFrame(Octets("68 0C 0C 68 28 01 02 01 03 01 05 00 01 39 30 0C AB 16"), {}).Json();
    EXPECT_EQ(keys(variable), "frame format checksum_ok link asdu error ");
    EXPECT_EQ(keys(Member(variable, "link")), "prm fc fc_name address acd dfc ");
    EXPECT_EQ(keys(Member(variable, "asdu")),
              "ti ti_name sq count cot cot_name negative test originator ca objects ");
    EXPECT_EQ(ExplainFrame(Octets("E5"), {}).Json().Dump(),
              R"({"frame":"E5","format":"single","checksum_ok":true,"error":null})");
    // The poll's records put direction and time first.
    EXPECT_EQ(ExplanationJsonLine(ExplainFrame(Octets("E5"), {}), "rx", "2026-12-08T12:00:00.000"),
              R"({"dir":"rx","time":"2026-12-08T12:00:00.000","frame":"E5","format":"single","checksum_ok":true,"error":null})");
}

// The whole text of a frame, the same whether written at once or through the window's tree.
TEST(FrameExplanation, TextAndTreeSayTheSameLineForLine) {
    struct Case {
        std::string frame;
        bool balanced;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"68 10 10 68 53 01 3A 01 06 01 01 00 81 E8 03 22 0C 08 0C 1A 5F 16", false,
         "可变帧长帧 68 10 10 68 53 01 3A 01 06 01 01 00 81 E8 03 22 0C 08 0C 1A 5F 16\n"
         "  链路层 (link)\n"
         "    可变帧长帧, 启动字符 68, 长度 L=16 (0x10), 重复 L, 启动字符 68\n"
         "    控制域 C=0x53: PRM=1 启动站, FCB=0 FCV=1 (FCB有效), 功能码 FC=3 传送数据(需确认) (user data, confirm expected)\n"
         "    链路地址 A=1\n"
         "    校验和 CS=0x5F 正确\n"
         "    结束字符 16\n"
         "  应用服务数据单元 (ASDU)\n"
         "    类型标识 TI=58 C_SC_TA_1 带CP56Time2a时标的单命令\n"
         "    可变结构限定词 VSQ=0x01: SQ=0 独立的信息对象, 数目 N=1\n"
         "    传送原因 COT=6 激活 (act), P/N=0 肯定确认, T=0 未试验\n"
         "    公共地址 CA=1\n"
         "    信息对象 IOA=1: SCS=1 选择 @2026-12-08T12:34:01.000\n"
         "      SCO [81]: SCS=1 合 (ON), QU=0 无另外的定义, S/E=1 选择\n"
         "      CP56Time2a [E8 03 22 0C 08 0C 1A]: 时标 2026-12-08T12:34:01.000 (未用) SU=0 IV=0\n"},
        {"10 8B 01 8C 16", true,
         "固定帧长帧 10 8B 01 8C 16\n"
         "  链路层 (link)\n"
         "    固定帧长帧, 启动字符 10\n"
         "    控制域 C=0x8B: DIR=1 PRM=0 从动站, DFC=0 可以接收后续报文, 功能码 FC=11 链路状态或访问请求 (status of link or access demand)\n"
         "    链路地址 A=1\n"
         "    校验和 CS=0x8C 正确\n"
         "    结束字符 16\n"},
        {"68 0C 0C 68 08 01 09 02 03 01 01 40 E8 03 00 02 3C 16", false,
         "可变帧长帧 68 0C 0C 68 08 01 09 02 03 01 01 40 E8 03 00 02 3C 16\n"
         "  链路层 (link)\n"
         "    可变帧长帧, 启动字符 68, 长度 L=12 (0x0C), 重复 L, 启动字符 68\n"
         "    控制域 C=0x08: PRM=0 从动站, ACD=0 无一级数据, DFC=0 可以接收后续报文, 功能码 FC=8 以数据响应请求 (user data)\n"
         "    链路地址 A=1\n"
         "    校验和 CS=0x3C 错误, 应为 0x46\n"
         "    结束字符 16\n"
         "  应用服务数据单元 (ASDU)\n"
         "    类型标识 TI=9 M_ME_NA_1 测量值,归一化值\n"
         "    可变结构限定词 VSQ=0x02: SQ=0 独立的信息对象, 数目 N=2\n"
         "    传送原因 COT=3 突发(自发) (spont), P/N=0 肯定确认, T=0 未试验\n"
         "    公共地址 CA=1\n"
         "    信息对象 IOA=16385: NVA=1000\n"
         "      NVA [E8 03]: 归一化值=1000 (0.030517578125)\n"
         "      QDS [00]: 品质: OV=0 BL=0 SB=0 NT=0 IV=0\n"
         "  解析停止: 第2个信息对象的地址在第16个八位位组处超出帧尾 (需要2个, 仅剩1个)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        const FrameExplanation e = ExplainFrame(Octets(c.frame), ExplainOptions{FieldSizes{}, c.balanced});
        std::string whole;
        AppendFrameExplanationText(whole, e);
        EXPECT_EQ(whole, c.text);
        std::string fromTree;
        AppendExplanationTree(fromTree, e.Tree());
        EXPECT_EQ(fromTree, c.text);
        // Under an account line: without the frame's own line.
        std::string under;
        AppendExplanationText(under, e);
        EXPECT_EQ(under, c.text.substr(c.text.find('\n') + 1));
    }
}

// The JSON the explanation writes reads back as it was written; anything else is refused.
TEST(JsonValue, ParseReadsBackWhatAppendToWrites) {
    const std::vector<std::string> texts = {
        R"({"a":[1,-2,1.5,-0,1e+30,true,false,null],"b":{},"c":[]})",
        R"({"s":"q\"b\\c\u0001d 中文","n":-9007199254740993})",
        "[]",
        "null",
    };
    for (const std::string& text : texts) EXPECT_EQ(JsonValue::Parse(text).Dump(), text);
    for (const char* bad : {"", "{", "[1,]", "tru", R"("\x")", "1 2", R"({"a" 1})", "{\"a\":1,}", "[--1]"})
        EXPECT_THROW(JsonValue::Parse(bad), std::invalid_argument) << bad;
}

// A burst: frames found with the link address size, each under its account line.
TEST(FrameExplanation, BurstExplanationsFollowTheAccountLines) {
    const auto burst = Octets("00 10 49 01 00 4A 16 E5 10 0B 01 0C 16");
    EXPECT_EQ(ExplainFrames(burst, {FieldSizes{2, 1, 1, 2}, false}).size(), 2u);  // 6-octet fixed frame, E5
    const std::vector<FrameExplanation> frames = ExplainFrames(burst, {});
    ASSERT_EQ(frames.size(), 2u);  // E5 and the 5-octet frame
    EXPECT_EQ(frames[1].start, 8u);
    const std::vector<std::string> blocks = ExplanationUnderAccount(burst, 1, {});
    ASSERT_EQ(blocks.size(), 1u);
    // The frame the account has no line for goes whole under the last line.
    EXPECT_NE(blocks[0].find("\n  固定帧长帧 10 0B 01 0C 16\n"), std::string::npos) << blocks[0];
    EXPECT_EQ(blocks[0].rfind("  单字符 E5 (single", 0), 0u) << blocks[0];
}

}  // namespace
}  // namespace tc101
