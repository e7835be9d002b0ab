#include "app/Platform.h"
#include "app/Startup.h"
#include "forms/Forms.h"
#include "forms/WindowIcon.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    Platform::prepareRuntime();
    const Startup::CommandLine commandLine = Startup::parse(Platform::arguments(argc, argv));
    if (commandLine.exitCode)
        return *commandLine.exitCode;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KORVANE作成ウィザード"));
    // Desktops find the menu entry and its icon for the windows by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.korvane.wizard"));
    QApplication::setWindowIcon(designIcon("hand-right"));
    // A hidden page is still loaded: the program ends when the last window is unloaded,
    // not when the last one is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    // The file dialog, the message boxes and the text boxes' right-click menu, which page 1
    // points the user to, speak Japanese like the wizard's own windows.
    // They are compiled in where Qt is (Windows), and installed with Qt elsewhere.
    QTranslator qtTexts;
    for (const QString &folder : {QStringLiteral(":/translations"),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (qtTexts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"),
                         QStringLiteral("_"), folder)) {
            QApplication::installTranslator(&qtTexts);
            break;
        }
    }

    const std::optional<QString> outputFolder =
        Startup::outputFolder(commandLine.folder, QCoreApplication::applicationDirPath());
    if (!outputFolder)
        return 1;
    Forms forms(*outputFolder);
    QObject::connect(&forms, &Forms::allUnloaded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    forms.show(FormId::Form2);
    return app.exec();
}
