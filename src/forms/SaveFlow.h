#pragma once

#include "modules/WriteStatus.h"
#include "wizard/Saves.h"

class FormBase;

// What each save button does before its window moves on.
namespace SaveFlow {

using UnstorableCheck = QList<Saves::Unstorable> (*)(Fields &);
using Save = WriteStatus (*)(Fields &);

// Warns about characters the file cannot store and lets the user go back to the first of them,
// then saves and tells the user of a failed write. True when the file was written: the window
// may move on.
bool run(FormBase *window, Fields &fields, UnstorableCheck check, Save save);

} // namespace SaveFlow
