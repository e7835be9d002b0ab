#include "forms/SaveFlow.h"

#include "forms/FolderDialog.h"
#include "forms/FormBase.h"
#include "forms/Forms.h"
#include "forms/MessageBox.h"
#include "modules/ProfileSession.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

// For whoever started the wizard from a terminal.
void announce(const QString &fileName)
{
    QTextStream(stdout)
        << QStringLiteral("KORV.ini を保存しました: %1")
               .arg(QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()))
        << Qt::endl;
}

} // namespace

bool SaveFlow::run(FormBase *window, Forms &forms, UnstorableCheck check, Saves::Save save,
                   EntryProblems::Check entryCheck)
{
    QString outputFile = Saves::outputFile(forms);
    const LongWork inBackground = [&](ProfileSession &session, const auto &work) {
        forms.runWork(window, QStringLiteral("「%1」に保存しています…").arg(session.outputFile()),
                      session, work);
    };
    const std::optional<Saves::Outlook> outlook = Saves::lookAhead(outputFile, inBackground);
    if (!outlook)
        return false;
    const QList<Saves::Unstorable> unstorable = check(forms, outlook->encoding);
    if (!unstorable.isEmpty() && !MessageBox::saveWithQuestionMarks(window, unstorable)) {
        window->goBackTo(unstorable.constFirst().field);
        return false;
    }
    if (entryCheck && !EntryProblems::saveAsIs(window, forms, entryCheck, outlook->roots))
        return false;
    // A save that fails may go into another folder, which then takes every save that follows.
    std::optional<QString> movedTo;
    for (;;) {
        const FileStatus status = Saves::run(save, forms, outputFile, inBackground);
        if (status.ok())
            break;
        if (status.problem == FileProblem::Cancelled || !MessageBox::writeFailed(window, status))
            return false;
        movedTo = FolderDialog::chooseDiscFolder();
        if (!movedTo)
            return false;
        outputFile = QDir(*movedTo).filePath(QStringLiteral("KORV.ini"));
    }
    if (movedTo) {
        forms.setOutputFolder(*movedTo);
        FolderDialog::remember(*movedTo);
    }
    announce(outputFile);
    return true;
}
