#pragma once

// 报文详解 on the analysis page: one node per frame, under it the link layer,
// the ASDU and its objects. Its text (the selected nodes, or everything) is
// copied as indented lines with Ctrl+C or the context menu.

#include <cstdint>
#include <span>

#include <QTreeWidget>

#include "protocol/explain/frame_explanation.h"

class QAction;

namespace tc101 {

class ExplanationTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit ExplanationTree(QWidget* parent = nullptr);

    // Replaces the tree with the frames of the octets.
    void ShowFrames(std::span<const std::uint8_t> octets, const ExplainOptions& options);
    // The selected nodes with everything under them, or the whole tree when
    // nothing is selected: two spaces a level, one node a line.
    QString Text() const;
    void CopyText() const;

    QAction* CopyItem = nullptr;  // 复制(&C), Ctrl+C

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
};

}  // namespace tc101
