#pragma once

class Forms;
class QWidget;

// What "読み込み！" does: checks the chosen drive's settings file, reads it (showing progress
// and a way to cancel when that takes long), and fills every entry. A file that is missing
// or cannot be read is named in a message and changes no field.
namespace ImportFlow {

// The drive chosen in Drive1, or a folder the user picks when its last entry is chosen.
void run(QWidget *window, Forms &forms);

// At start, the KORV.ini of the output folder, so that a second run goes on with the disc's
// menu; a folder without one is a disc begun now, and says nothing.
void atStart(QWidget *window, Forms &forms);

} // namespace ImportFlow
