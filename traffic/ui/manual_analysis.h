#pragma once

// The analysis page: tidying the pasted hex text and analysing it into the
// log and the value tables.

#include <QPlainTextEdit>

#include "protocol/decoding_settings.h"
#include "protocol/link_profile.h"
#include "protocol/value_tables.h"

namespace tc101 {

class ExplanationTree;
class TrafficLog;

// "刷新(&R)": a pane holding text becomes its normalised hex text in upper case.
void NormalizeHexPane(QPlainTextEdit& pane);

// "分析(&T)": banner and pane text in black, the analysis, the account in
// red (with the log's explanation when it shows one), and the frames in the
// explanation tree when there is one. The verdict is not kept. Nothing for a
// blank pane.
void AnalyzePane(QPlainTextEdit& memoAna, TrafficLog& log, ValueTables& tables, const DecodingSettings& decoding,
                 const LinkProfile& profile, ExplanationTree* tree = nullptr);

}  // namespace tc101
