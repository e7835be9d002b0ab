#pragma once

#include "wizard/EntryCheck.h"

class FormBase;
class Forms;

// What a save button does when the entries it is about to write will not work on the disc.
namespace EntryProblems {

using Check = QList<EntryCheck::Problem> (*)(Fields &, const EntryCheck::Roots &);

// Checks the entries a save writes against the roots of its output file. When something is
// found, the user is shown what, entry by entry, and chooses to save as is (true) or to go
// back to the first field named (false). True when nothing is found.
bool saveAsIs(FormBase *window, Forms &forms, Check check, const EntryCheck::Roots &roots);

} // namespace EntryProblems
