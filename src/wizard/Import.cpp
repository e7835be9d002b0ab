#include "wizard/Import.h"

#include "modules/Module1.h"
#include "modules/Module2.h"
#include "wizard/EntrySlots.h"

void Import::fromSourceFile(Fields &fields)
{
    // One batch, so the 34 reads parse the file once however large it is.
    Module1::ProfileBatch batch;
    // Slot order is page 1 then page 2; page 2's fields are filled while it is hidden.
    for (const EntrySlot &slot : EntrySlots::all()) {
        fields.setText(slot.name(), IniRead(QStringLiteral("name"), slot.key()));
        fields.setText(slot.path(), IniRead(QStringLiteral("path"), slot.key()));
    }
}
