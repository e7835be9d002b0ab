#include "forms/ImportFlow.h"

#include "forms/BackgroundWork.h"
#include "forms/DriveList.h"
#include "forms/FolderDialog.h"
#include "forms/Forms.h"
#include "forms/MessageBox.h"
#include "modules/ProfileSession.h"
#include "wizard/Import.h"

#include <QDir>

namespace {

FileStatus importFrom(QWidget *window, Forms &forms, const QString &designation)
{
    return Import::fromFolder(
        forms, designation, [window](ProfileSession &session, const auto &work) {
            BackgroundWork::run(
                window, QStringLiteral("「%1」を読み込んでいます…").arg(session.sourceFile()),
                session, work);
        });
}

QString designationOf(const QString &folder)
{
    return QDir(folder).absolutePath() + u'/';
}

} // namespace

void ImportFlow::run(QWidget *window, Forms &forms)
{
    QString designation = forms.text(kDriveList);
    if (forms.control<DriveList>(kDriveList)->choosesFolder()) {
        const std::optional<QString> folder = FolderDialog::chooseFolderToRead();
        if (!folder)
            return;
        designation = designationOf(*folder);
    }
    const FileStatus status = importFrom(window, forms, designation);
    if (!status.ok() && status.problem != FileProblem::Cancelled)
        MessageBox::readFailed(window, status);
}

void ImportFlow::atStart(QWidget *window, Forms &forms)
{
    // A reading cancelled here is told too: a save would then write over the menu it left.
    const FileStatus status = importFrom(window, forms, designationOf(forms.outputFolder()));
    if (!status.ok() && status.problem != FileProblem::NotFound)
        MessageBox::readFailed(window, status);
}
