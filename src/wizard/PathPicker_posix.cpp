#include "wizard/PathPicker.h"

// Qt's file dialog matches in the file system's case: brackets take every case of ".exe".
QString PathPicker::executablePattern()
{
    return QStringLiteral("*.[Ee][Xx][Ee]");
}
