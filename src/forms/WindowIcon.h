#pragma once

#include <QIcon>

// A window icon of the design: a 16-colour bitmap at 32 by 32 and at 16 by 16, drawn by us
// (icons/<name>-32.png and -16.png, in the program's resources).
QIcon designIcon(const char *name);
