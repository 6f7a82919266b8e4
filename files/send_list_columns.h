#pragma once

// Columns of the send list, in send.sen, the send message editor and the
// main window's GrdSend: "报文名称", "报文内容" and the editor's "生成" button.

namespace tc101 {

inline constexpr int kSendNameCol = 1;
inline constexpr int kSendContentCol = 2;
inline constexpr int kSendButtonCol = 3;

}  // namespace tc101
