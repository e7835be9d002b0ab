#include "forms/SaveFlow.h"

#include "forms/MessageBox.h"

bool SaveFlow::run(QWidget *window, Fields &fields, UnstorableCheck check, Save save)
{
    const QList<Saves::Unstorable> unstorable = check(fields);
    if (!unstorable.isEmpty() && !MessageBox::saveWithQuestionMarks(window, unstorable))
        return false;
    const WriteStatus status = save(fields);
    if (!status.ok())
        MessageBox::writeFailed(window, status);
    return status.ok();
}
