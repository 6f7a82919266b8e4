#pragma once

// "帮助文件(&H)": tc101ToolHlp.chm from the current directory when it is
// there, else the short help that ships inside the program, each opened
// with the desktop's program for it (never through a shell).

#include <functional>

#include <QDesktopServices>
#include <QString>
#include <QUrl>

class QWidget;

namespace tc101 {

inline constexpr char kHelpFileName[] = "tc101ToolHlp.chm";

// The file to open: the help file of the current directory, or the shipped
// help written out to a temporary folder. Empty when neither can be had.
QString HelpFileToOpen();

// Opens a file with the desktop's program for it; false when none started.
using HelpOpener = std::function<bool(const QUrl&)>;

// Opens it; when no program opens it (no browser), an information box
// gives the file's path, so it can be opened by hand.
void OpenHelp(QWidget* parent, const HelpOpener& open = &QDesktopServices::openUrl);

}  // namespace tc101
