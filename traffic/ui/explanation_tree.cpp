#include "traffic/ui/explanation_tree.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>

namespace tc101 {

namespace {

// Larger bursts open at the frame level only: expanding thousands of nodes costs seconds.
constexpr int kExpandAllLimit = 2000;

int AddItems(QTreeWidgetItem* item, const ExplainNode& node) {
    item->setText(0, QString::fromStdString(node.text));
    int count = 1;
    for (const ExplainNode& child : node.children) count += AddItems(new QTreeWidgetItem(item), child);
    return count;
}

void AppendItem(QString& out, const QTreeWidgetItem* item, int depth) {
    out += QString(depth * 2, QLatin1Char(' '));
    out += item->text(0);
    out += QLatin1Char('\n');
    for (int i = 0; i < item->childCount(); ++i) AppendItem(out, item->child(i), depth + 1);
}

bool HasSelectedAncestor(const QTreeWidgetItem* item) {
    for (const QTreeWidgetItem* up = item->parent(); up; up = up->parent())
        if (up->isSelected()) return true;
    return false;
}

}  // namespace

ExplanationTree::ExplanationTree(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("TreeAna"));
    setColumnCount(1);
    setHeaderLabel(QStringLiteral(u"报文详解"));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformRowHeights(true);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    CopyItem = new QAction(QStringLiteral(u"复制(&C)"), this);
    CopyItem->setShortcut(QKeySequence::Copy);
    CopyItem->setShortcutContext(Qt::WidgetShortcut);
    connect(CopyItem, &QAction::triggered, this, &ExplanationTree::CopyText);
    addAction(CopyItem);
}

void ExplanationTree::ShowFrames(std::span<const std::uint8_t> octets, const ExplainOptions& options) {
    clear();
    int nodes = 0;
    QList<QTreeWidgetItem*> frames;
    for (const FrameExplanation& frame : ExplainFrames(octets, options)) {
        auto* item = new QTreeWidgetItem;
        nodes += AddItems(item, frame.Tree());
        frames.append(item);
    }
    addTopLevelItems(frames);
    if (nodes <= kExpandAllLimit)
        expandAll();
}

QString ExplanationTree::Text() const {
    QString out;
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (selected.isEmpty()) {
        for (int i = 0; i < topLevelItemCount(); ++i) AppendItem(out, topLevelItem(i), 0);
        return out;
    }
    // In tree order, each selected node once with what is under it.
    for (QTreeWidgetItemIterator it(const_cast<ExplanationTree*>(this), QTreeWidgetItemIterator::Selected); *it; ++it)
        if (!HasSelectedAncestor(*it)) AppendItem(out, *it, 0);
    return out;
}

void ExplanationTree::CopyText() const { QApplication::clipboard()->setText(Text()); }

void ExplanationTree::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(CopyItem);
    CopyItem->setEnabled(topLevelItemCount() > 0);
    menu.exec(event->globalPos());
}

}  // namespace tc101
