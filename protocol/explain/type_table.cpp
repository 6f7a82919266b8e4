#include "protocol/explain/type_table.h"

#include <array>

namespace tc101 {

namespace {

using enum Element;

constexpr Element kSp[] = {Siq};
constexpr Element kSpTa[] = {Siq, Cp24};
constexpr Element kDp[] = {Diq};
constexpr Element kDpTa[] = {Diq, Cp24};
constexpr Element kSt[] = {Vti, Qds};
constexpr Element kStTa[] = {Vti, Qds, Cp24};
constexpr Element kBo[] = {Bsi, Qds};
constexpr Element kBoTa[] = {Bsi, Qds, Cp24};
constexpr Element kMeNa[] = {Nva, Qds};
constexpr Element kMeTa[] = {Nva, Qds, Cp24};
constexpr Element kMeNb[] = {Sva, Qds};
constexpr Element kMeTb[] = {Sva, Qds, Cp24};
constexpr Element kMeNc[] = {Float, Qds};
constexpr Element kMeTc[] = {Float, Qds, Cp24};
constexpr Element kIt[] = {Bcr};
constexpr Element kItTa[] = {Bcr, Cp24};
constexpr Element kEpTa[] = {Sep, Cp16, Cp24};
constexpr Element kEpTb[] = {Spe, Qdp, Cp16, Cp24};
constexpr Element kEpTc[] = {Oci, Qdp, Cp16, Cp24};
constexpr Element kPs[] = {Scd, Qds};
constexpr Element kMeNd[] = {Nva};
constexpr Element kSpTb[] = {Siq, Cp56};
constexpr Element kDpTb[] = {Diq, Cp56};
constexpr Element kStTb[] = {Vti, Qds, Cp56};
constexpr Element kBoTb[] = {Bsi, Qds, Cp56};
constexpr Element kMeTd[] = {Nva, Qds, Cp56};
constexpr Element kMeTe[] = {Sva, Qds, Cp56};
constexpr Element kMeTf[] = {Float, Qds, Cp56};
constexpr Element kItTb[] = {Bcr, Cp56};
constexpr Element kEpTd[] = {Sep, Cp16, Cp56};
constexpr Element kEpTe[] = {Spe, Qdp, Cp16, Cp56};
constexpr Element kEpTf[] = {Oci, Qdp, Cp16, Cp56};
constexpr Element kEi[] = {Coi};
constexpr Element kSc[] = {Sco};
constexpr Element kDc[] = {Dco};
constexpr Element kRc[] = {Rco};
constexpr Element kSeNa[] = {Nva, Qos};
constexpr Element kSeNb[] = {Sva, Qos};
constexpr Element kSeNc[] = {Float, Qos};
constexpr Element kBoNa[] = {Bsi};
constexpr Element kScTa[] = {Sco, Cp56};
constexpr Element kDcTa[] = {Dco, Cp56};
constexpr Element kRcTa[] = {Rco, Cp56};
constexpr Element kSeTa[] = {Nva, Qos, Cp56};
constexpr Element kSeTb[] = {Sva, Qos, Cp56};
constexpr Element kSeTc[] = {Float, Qos, Cp56};
constexpr Element kBoTa2[] = {Bsi, Cp56};
constexpr Element kIc[] = {Qoi};
constexpr Element kCi[] = {Qcc};
constexpr std::span<const Element> kNone{};
constexpr Element kCs[] = {Cp56};
constexpr Element kTs[] = {Fbp};
constexpr Element kRp[] = {Qrp};
constexpr Element kCd[] = {Cp16};
constexpr Element kTsTa[] = {Tsc, Cp56};
constexpr Element kPmNa[] = {Nva, Qpm};
constexpr Element kPmNb[] = {Sva, Qpm};
constexpr Element kPmNc[] = {Float, Qpm};
constexpr Element kPa[] = {Qpa};
constexpr Element kFr[] = {Nof, Lof, Frq};
constexpr Element kSr[] = {Nof, Nos, Lof, Srq};
constexpr Element kScNa[] = {Nof, Nos, Scq};
constexpr Element kLs[] = {Nof, Nos, Lsq, Chs};
constexpr Element kAf[] = {Nof, Nos, Afq};
constexpr Element kSg[] = {Nof, Nos, Segment};
constexpr Element kDr[] = {Nof, Lof, Sof, Cp56};
constexpr Element kScNb[] = {Nof, Cp56, Cp56};

constexpr std::array kTypes = {
    TypeInfo{1, "M_SP_NA_1", "单点信息", kSp},
    TypeInfo{2, "M_SP_TA_1", "带时标的单点信息", kSpTa},
    TypeInfo{3, "M_DP_NA_1", "双点信息", kDp},
    TypeInfo{4, "M_DP_TA_1", "带时标的双点信息", kDpTa},
    TypeInfo{5, "M_ST_NA_1", "步位置信息", kSt},
    TypeInfo{6, "M_ST_TA_1", "带时标的步位置信息", kStTa},
    TypeInfo{7, "M_BO_NA_1", "32比特串", kBo},
    TypeInfo{8, "M_BO_TA_1", "带时标的32比特串", kBoTa},
    TypeInfo{9, "M_ME_NA_1", "测量值,归一化值", kMeNa},
    TypeInfo{10, "M_ME_TA_1", "带时标的测量值,归一化值", kMeTa},
    TypeInfo{11, "M_ME_NB_1", "测量值,标度化值", kMeNb},
    TypeInfo{12, "M_ME_TB_1", "带时标的测量值,标度化值", kMeTb},
    TypeInfo{13, "M_ME_NC_1", "测量值,短浮点数", kMeNc},
    TypeInfo{14, "M_ME_TC_1", "带时标的测量值,短浮点数", kMeTc},
    TypeInfo{15, "M_IT_NA_1", "累计量", kIt},
    TypeInfo{16, "M_IT_TA_1", "带时标的累计量", kItTa},
    TypeInfo{17, "M_EP_TA_1", "带时标的继电保护设备事件", kEpTa},
    TypeInfo{18, "M_EP_TB_1", "带时标的继电保护设备成组启动事件", kEpTb},
    TypeInfo{19, "M_EP_TC_1", "带时标的继电保护设备成组输出电路信息", kEpTc},
    TypeInfo{20, "M_PS_NA_1", "带变位检出的成组单点信息", kPs},
    TypeInfo{21, "M_ME_ND_1", "测量值,不带品质描述词的归一化值", kMeNd},
    TypeInfo{30, "M_SP_TB_1", "带CP56Time2a时标的单点信息", kSpTb},
    TypeInfo{31, "M_DP_TB_1", "带CP56Time2a时标的双点信息", kDpTb},
    TypeInfo{32, "M_ST_TB_1", "带CP56Time2a时标的步位置信息", kStTb},
    TypeInfo{33, "M_BO_TB_1", "带CP56Time2a时标的32比特串", kBoTb},
    TypeInfo{34, "M_ME_TD_1", "带CP56Time2a时标的测量值,归一化值", kMeTd},
    TypeInfo{35, "M_ME_TE_1", "带CP56Time2a时标的测量值,标度化值", kMeTe},
    TypeInfo{36, "M_ME_TF_1", "带CP56Time2a时标的测量值,短浮点数", kMeTf},
    TypeInfo{37, "M_IT_TB_1", "带CP56Time2a时标的累计量", kItTb},
    TypeInfo{38, "M_EP_TD_1", "带CP56Time2a时标的继电保护设备事件", kEpTd},
    TypeInfo{39, "M_EP_TE_1", "带CP56Time2a时标的继电保护设备成组启动事件", kEpTe},
    TypeInfo{40, "M_EP_TF_1", "带CP56Time2a时标的继电保护设备成组输出电路信息", kEpTf},
    TypeInfo{45, "C_SC_NA_1", "单命令", kSc},
    TypeInfo{46, "C_DC_NA_1", "双命令", kDc},
    TypeInfo{47, "C_RC_NA_1", "步调节命令", kRc},
    TypeInfo{48, "C_SE_NA_1", "设定值命令,归一化值", kSeNa},
    TypeInfo{49, "C_SE_NB_1", "设定值命令,标度化值", kSeNb},
    TypeInfo{50, "C_SE_NC_1", "设定值命令,短浮点数", kSeNc},
    TypeInfo{51, "C_BO_NA_1", "32比特串命令", kBoNa},
    TypeInfo{58, "C_SC_TA_1", "带CP56Time2a时标的单命令", kScTa},
    TypeInfo{59, "C_DC_TA_1", "带CP56Time2a时标的双命令", kDcTa},
    TypeInfo{60, "C_RC_TA_1", "带CP56Time2a时标的步调节命令", kRcTa},
    TypeInfo{61, "C_SE_TA_1", "带CP56Time2a时标的设定值命令,归一化值", kSeTa},
    TypeInfo{62, "C_SE_TB_1", "带CP56Time2a时标的设定值命令,标度化值", kSeTb},
    TypeInfo{63, "C_SE_TC_1", "带CP56Time2a时标的设定值命令,短浮点数", kSeTc},
    TypeInfo{64, "C_BO_TA_1", "带CP56Time2a时标的32比特串命令", kBoTa2},
    TypeInfo{70, "M_EI_NA_1", "初始化结束", kEi},
    TypeInfo{100, "C_IC_NA_1", "总召唤命令", kIc},
    TypeInfo{101, "C_CI_NA_1", "计数量召唤命令", kCi},
    TypeInfo{102, "C_RD_NA_1", "读命令", kNone},
    TypeInfo{103, "C_CS_NA_1", "时钟同步命令", kCs},
    TypeInfo{104, "C_TS_NA_1", "测试命令", kTs},
    TypeInfo{105, "C_RP_NA_1", "复位进程命令", kRp},
    TypeInfo{106, "C_CD_NA_1", "延时获得命令", kCd},
    TypeInfo{107, "C_TS_TA_1", "带CP56Time2a时标的测试命令", kTsTa},
    TypeInfo{110, "P_ME_NA_1", "测量值参数,归一化值", kPmNa},
    TypeInfo{111, "P_ME_NB_1", "测量值参数,标度化值", kPmNb},
    TypeInfo{112, "P_ME_NC_1", "测量值参数,短浮点数", kPmNc},
    TypeInfo{113, "P_AC_NA_1", "参数激活", kPa},
    TypeInfo{120, "F_FR_NA_1", "文件已准备好", kFr},
    TypeInfo{121, "F_SR_NA_1", "节已准备好", kSr},
    TypeInfo{122, "F_SC_NA_1", "召唤目录,选择文件,召唤文件,召唤节", kScNa},
    TypeInfo{123, "F_LS_NA_1", "最后的节,最后的段", kLs},
    TypeInfo{124, "F_AF_NA_1", "认可文件,认可节", kAf},
    TypeInfo{125, "F_SG_NA_1", "段", kSg},
    TypeInfo{126, "F_DR_TA_1", "目录", kDr},
    TypeInfo{127, "F_SC_NB_1", "查询日志", kScNb},
};

// A type identification is one octet: index it directly.
constexpr std::array<std::int8_t, 256> BuildIndex() {
    std::array<std::int8_t, 256> index{};
    for (auto& entry : index) entry = -1;
    for (std::size_t i = 0; i < kTypes.size(); ++i) index[kTypes[i].ti] = static_cast<std::int8_t>(i);
    return index;
}
constexpr auto kIndex = BuildIndex();

}  // namespace

int ElementSize(Element element) {
    switch (element) {
        case Bsi: case Float: case Scd: return 4;
        case Bcr: return 5;
        case Nva: case Sva: case Cp16: case Fbp: case Tsc: case Nof: return 2;
        case Cp24: case Lof: return 3;
        case Cp56: return 7;
        default: return 1;
    }
}

const TypeInfo* FindType(std::uint8_t ti) {
    const int i = kIndex[ti];
    return i < 0 ? nullptr : &kTypes[static_cast<std::size_t>(i)];
}

}  // namespace tc101
