#pragma once

class Forms;
class QWidget;

// What "読み込み！" does: checks the chosen drive's settings file, reads it (showing progress
// and a way to cancel when that takes long), and fills every entry. A file that is missing
// or cannot be read is named in a message and changes no field.
namespace ImportFlow {

void run(QWidget *window, Forms &forms);

} // namespace ImportFlow
