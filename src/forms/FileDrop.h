#pragma once

class QLineEdit;

// A path field takes files dropped on it from the file manager: the first file's full
// path replaces its text, drive included; the save shortens it later. Anything else that
// is dragged over it, text or a web link, is refused.
namespace FileDrop {

void enable(QLineEdit *pathField);

} // namespace FileDrop
