#include "wizard/PathPicker.h"

// Windows' own file dialog matches in any case, and would take brackets literally.
QString PathPicker::executablePattern()
{
    return QStringLiteral("*.EXE");
}
