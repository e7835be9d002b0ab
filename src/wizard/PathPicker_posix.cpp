#include "wizard/PathPicker.h"

// Names are told apart by case here: each letter in both.
QString PathPicker::executablePattern()
{
    return QStringLiteral("*.[Ee][Xx][Ee]");
}
