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

// Linked in statically, the C++ runtime's thread library waits for ever at the program's end
// once a thread-local with a destructor was made in more than one thread (seen under Wine).
// Qt's regular expressions make one in each thread that runs a pattern compiled to machine
// code; the folder listing of a save runs one on its own thread. Interpreted, the short
// patterns here match as fast as anyone can tell.
void Platform::prepareRuntime()
{
    qputenv("QT_ENABLE_REGEXP_JIT", "0");
}
