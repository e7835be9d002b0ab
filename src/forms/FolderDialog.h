#pragma once

#include <QString>

#include <optional>

// Where the wizard asks for the disc folder: the platform's folder dialog, opening at the
// folder last taken (kept in the user's settings), or a test's answer.
namespace FolderDialog {

// The folder the user chose; nothing when the user cancelled.
std::optional<QString> chooseDiscFolder();
// The same, for a folder whose KORV.ini is to be read.
std::optional<QString> chooseFolderToRead();

// The next question opens at folder, which the wizard took.
void remember(const QString &folder);

// The next use does not show the dialog but ends as if the user had chosen folder, or had
// cancelled.
void setNextFolder(const QString &folder);
void setNextCancel();
// The next use shows the dialog again.
void forgetNextAnswer();

} // namespace FolderDialog
