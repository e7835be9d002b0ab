#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// How the wizard starts: its command line, and the folder it writes KORV.ini into.
namespace Startup {

// What the command line asks for: the disc folder given (empty for none), or that the program
// end at once with exitCode, after --help, --version, a mistake or a missing display, each
// already told on standard output or standard error.
struct CommandLine
{
    QString folder;
    std::optional<int> exitCode;
};
// Needs no application object, so that --help and --version work without a display.
CommandLine parse(const QStringList &arguments);

// The folder KORV.ini is written into: folder, or programFolder (the program's own) when it is
// empty. When KORV.ini cannot be written there, or it is the folder of an installed program,
// the user is told why and asked for another folder, until one can be written; nothing when
// the user would rather end.
std::optional<QString> outputFolder(const QString &folder, const QString &programFolder);

} // namespace Startup
