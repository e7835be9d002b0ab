#include "wizard/PathPicker.h"

// Windows' file dialog matches names in any case itself, and takes brackets as themselves.
QString PathPicker::executablePattern()
{
    return QStringLiteral("*.EXE");
}
