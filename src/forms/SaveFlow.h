#pragma once

#include "forms/EntryProblems.h"
#include "modules/FileStatus.h"
#include "wizard/Saves.h"

class FormBase;
class Forms;

// What each save button does before its window moves on.
namespace SaveFlow {

using UnstorableCheck = QList<Saves::Unstorable> (*)(Fields &, FileEncoding encoding);

// Warns about characters the output file cannot store, then about entries that will not work
// on the disc (with entryCheck), and lets the user go back to the first field named; then
// saves (showing progress and a way to cancel when that takes long), tells the user of a
// failed write, and names the file written on standard output. True when the file was
// written: the window may move on.
bool run(FormBase *window, Forms &forms, UnstorableCheck check, Saves::Save save,
         EntryProblems::Check entryCheck = nullptr);

} // namespace SaveFlow
