#pragma once

#include "modules/FileStatus.h"
#include "wizard/Saves.h"

#include <QList>
#include <QString>

#include <optional>

class QWidget;

// Every message the wizard shows goes through here, so that a test can answer it instead
// of blocking on a modal box, and read what was shown.
class MessageBox
{
public:
    enum class Answer {
        Ok,
        GoBackAndEdit,
        SaveWithQuestionMarks,
        SaveAsIs,
        ChooseFolder,
        SaveElsewhere,
        Quit
    };

    struct Shown
    {
        QString title;
        QString text;
    };

    // A save could not write the settings file: names the file and the reason. True when the
    // user goes on to save into another folder.
    static bool writeFailed(QWidget *parent, const FileStatus &status);

    // The import found no settings file it could read: names the file and the reason.
    static void readFailed(QWidget *parent, const FileStatus &status);

    // KORV.ini is not to be written into the folder the wizard was to use: names it and why.
    // True when the user goes on to choose another folder, false to end.
    static bool chooseAnotherFolder(const QString &folder, const QString &reason);

    // Fields to be saved hold characters the file cannot store. True when the user chooses
    // to save with "?" in their place, false to go back and edit.
    static bool saveWithQuestionMarks(QWidget *parent, const QList<Saves::Unstorable> &found);

    // Entries to be saved will not work on the disc, for the reasons rows give, one per
    // problem. True when the user chooses to save them as they are, false to go back and edit.
    static bool saveAsIs(QWidget *parent, const QStringList &rows);

    // What a test installs while it lives: every message is noted in shown, and the next one is
    // answered with nextAnswer, once, instead of shown when that is set.
    struct Recorder
    {
        Recorder();
        ~Recorder();
        Recorder(const Recorder &) = delete;
        Recorder &operator=(const Recorder &) = delete;

        std::optional<Answer> nextAnswer;
        QList<Shown> shown;
    };
};
