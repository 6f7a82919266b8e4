#include "traffic/ui/manual_analysis.h"

#include "protocol/analyzer.h"
#include "protocol/hex_text.h"
#include "traffic/log_lines.h"
#include "traffic/ui/explanation_tree.h"
#include "traffic/ui/log_text.h"
#include "traffic/ui/traffic_log.h"

namespace tc101 {

void NormalizeHexPane(QPlainTextEdit& pane) {
    const QString text = pane.toPlainText();
    if (IsBlankLogText(text)) return;
    const QString normal = QString::fromStdString(NormalizeHexText(text.toStdString())).toUpper();
    if (normal != text) pane.setPlainText(normal);
}

void AnalyzePane(QPlainTextEdit& memoAna, TrafficLog& log, ValueTables& tables, const DecodingSettings& decoding,
                 const LinkProfile& profile, ExplanationTree* tree) {
    if (IsBlankLogText(memoAna.toPlainText())) return;
    log.ScrollLogToEnd();
    NormalizeHexPane(memoAna);
    const QString text = memoAna.toPlainText();
    const std::vector<std::uint8_t> octets = HexTextToBytes(text.toStdString());
    log.AppendLine(LogColour::Black, std::string(kAnalysisBanner));
    log.AppendLine(LogColour::Black, text);
    const FrameAnalysis analysis = AnalyzeFrames(octets, tables, decoding, profile);
    log.AppendAccount(analysis.lines, octets);
    if (tree) tree->ShowFrames(octets, log.ExplanationOptions());
}

}  // namespace tc101
