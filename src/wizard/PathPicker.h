#pragma once

#include "wizard/Fields.h"

#include <QString>
#include <QStringList>
#include <optional>

// Where a browse button gets its file from: the page's open-file dialog, or a test's answer.
class FileChooser
{
public:
    virtual ~FileChooser() = default;

    // The full path of the file the user chose among nameFilters, looking first in
    // startFolder; none when the user cancelled or the dialog failed.
    virtual std::optional<QString> openFile(const QStringList &nameFilters,
                                            const QString &startFolder) = 0;
};

namespace PathPicker {

// The file types a browse button offers, executable files first.
QStringList nameFilters();
// The pattern of executable files, in any case, as this system's file dialog takes it.
QString executablePattern();

// Puts the file the user picks into pathField as the system writes it (D:\A.EXE on Windows),
// drive or disc root included: shortening is the save's job. A cancel or a failure leaves
// the field as it was. The choice starts in the folder of the field's path when that folder
// is there (a path relative to the disc taken from the output folder), else in the output
// folder.
void browse(Fields &fields, Control pathField, FileChooser &chooser);

} // namespace PathPicker
