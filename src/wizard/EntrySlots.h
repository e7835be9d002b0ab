#pragma once

#include "wizard/Fields.h"

#include <QString>
#include <span>

// One of the seventeen menu entries: a display name and a path, keyed by the slot number.
struct EntrySlot
{
    int number;
    FormId form;
    const char *nameField;
    const char *pathField;
    const char *browseButton;

    Control name() const { return {form, nameField}; }
    Control path() const { return {form, pathField}; }
    // The slot's key in the NAME and PATH sections: its number in decimal.
    const QString &key() const;
};

namespace EntrySlots {

std::span<const EntrySlot> all();
// The slots of one page, in slot order: Form2 holds 1 to 7, Form3 holds 8 to 17.
std::span<const EntrySlot> onPage(FormId page);

} // namespace EntrySlots
