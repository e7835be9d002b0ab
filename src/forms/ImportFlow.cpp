#include "forms/ImportFlow.h"

#include "forms/Forms.h"
#include "forms/MessageBox.h"
#include "modules/ProfileSession.h"
#include "wizard/Import.h"

void ImportFlow::run(QWidget *window, Forms &forms)
{
    const FileStatus status = Import::fromSourceFile(forms, [&](ProfileSession &session,
                                                                const auto &work) {
        forms.runWork(window, QStringLiteral("「%1」を読み込んでいます…").arg(session.sourceFile()),
                      session, work);
    });
    if (!status.ok() && status.problem != FileProblem::Cancelled)
        MessageBox::readFailed(window, status);
}
