#include "forms/ImportFlow.h"

#include "forms/DriveList.h"
#include "forms/FolderDialog.h"
#include "forms/Forms.h"
#include "forms/MessageBox.h"
#include "modules/ProfileSession.h"
#include "wizard/Import.h"

#include <QDir>

namespace {

LongWork showingProgress(QWidget *window, Forms &forms)
{
    return [window, &forms](ProfileSession &session, const std::function<void()> &work) {
        forms.runWork(window, QStringLiteral("「%1」を読み込んでいます…").arg(session.sourceFile()),
                      session, work);
    };
}

QString designationOf(const QString &folder)
{
    return QDir(folder).absolutePath() + u'/';
}

} // namespace

void ImportFlow::run(QWidget *window, Forms &forms)
{
    FileStatus status;
    if (forms.control<DriveList>(kDriveList)->choosesFolder()) {
        const std::optional<QString> folder = FolderDialog::chooseFolderToRead();
        if (!folder)
            return;
        status = Import::fromFolder(forms, designationOf(*folder), showingProgress(window, forms));
    } else {
        status = Import::fromSourceFile(forms, showingProgress(window, forms));
    }
    if (!status.ok() && status.problem != FileProblem::Cancelled)
        MessageBox::readFailed(window, status);
}

void ImportFlow::atStart(QWidget *window, Forms &forms)
{
    // A reading cancelled here is told too: a save would then write over the menu it left.
    const FileStatus status = Import::fromFolder(forms, designationOf(forms.outputFolder()),
                                                 showingProgress(window, forms));
    if (!status.ok() && status.problem != FileProblem::NotFound)
        MessageBox::readFailed(window, status);
}
