#pragma once

// "帮助文件(&H)": tc101ToolHlp.chm from the current directory when it is
// there, else the short help that ships inside the program, each opened
// with the desktop's program for it (never through a shell).

#include <QString>

namespace tc101 {

inline constexpr char kHelpFileName[] = "tc101ToolHlp.chm";

// The file to open: the help file of the current directory, or the shipped
// help written out to a temporary folder. Empty when neither can be had.
QString HelpFileToOpen();

// Opens it; a failure is not reported.
void OpenHelp();

}  // namespace tc101
