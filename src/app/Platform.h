#pragma once

#include <QStringList>

// What the program's start asks of the system it runs on.
namespace Platform {

// The command line as the user typed it, the program's name first.
QStringList arguments(int argc, char *argv[]);
// Whether there is a screen to show windows on.
bool hasDisplay();
// Settles what the system's C++ runtime needs of Qt, before Qt starts.
void prepareRuntime();

} // namespace Platform
