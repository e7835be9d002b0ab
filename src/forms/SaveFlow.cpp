#include "forms/SaveFlow.h"

#include "forms/FormBase.h"
#include "forms/MessageBox.h"

bool SaveFlow::run(FormBase *window, Fields &fields, UnstorableCheck check, Save save)
{
    const QList<Saves::Unstorable> unstorable = check(fields);
    if (!unstorable.isEmpty() && !MessageBox::saveWithQuestionMarks(window, unstorable)) {
        window->goBackTo(unstorable.constFirst().field);
        return false;
    }
    const WriteStatus status = save(fields);
    if (!status.ok())
        MessageBox::writeFailed(window, status);
    return status.ok();
}
