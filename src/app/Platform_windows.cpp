#include "app/Platform.h"

#include <windows.h>

#include <shellapi.h>

// argv holds only what the ANSI code page can: a folder named in other scripts would arrive
// with question marks. The wide command line holds it whole.
QStringList Platform::arguments(int, char *[])
{
    QStringList arguments;
    int count = 0;
    if (wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            arguments.append(QString::fromWCharArray(wide[i]));
        LocalFree(wide);
    }
    return arguments;
}

// A Windows session always has its desktop.
bool Platform::hasDisplay()
{
    return true;
}
