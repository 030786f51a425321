#pragma once

#include "platform/WinTypes.h"

#include <optional>
#include <string>
#include <vector>

struct FileFilter;

class QWidget;

// A message box with the Windows style's icon and buttons, modal to its owner (or to the whole
// program without one), run in our own nested loop so the message queue goes on being
// dispatched. Returns IDOK, IDYES or IDNO.
int RunMessageBox(QWidget* owner, const std::string& text, const std::string& caption, UINT style);

// The folder chooser: only folders are shown and only a folder can be confirmed. Runs in our
// nested loop like the message box. The chosen path as the file system spells it, or nothing.
std::optional<std::string> RunFolderChooser(QWidget* owner, const std::string& title);

// The file-open chooser with the given type list, the first entry selected, in the folder given
// (empty: Qt's choice). Runs in our nested loop like the message box. The chosen file's path as
// the file system spells it, or nothing.
std::optional<std::string> RunFileChooser(QWidget* owner, const std::string& title,
                                          const std::vector<FileFilter>& filters, const std::string& folder);
