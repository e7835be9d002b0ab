#pragma once

#include "wizard/Fields.h"

#include <QString>
#include <array>
#include <span>

// One of the seventeen menu entries: a display name and a path, keyed by the slot number.
struct EntrySlot
{
    int number;
    FormId form;
    const char *nameField;
    const char *pathField;
    const char *browseButton;

    constexpr Control name() const { return {form, nameField}; }
    constexpr Control path() const { return {form, pathField}; }
    // The slot's key in the NAME and PATH sections: its number in decimal.
    QString key() const { return QString::number(number); }
};

namespace EntrySlots {

inline constexpr std::array<EntrySlot, 17> kAll{{
    {1, FormId::Form2, "Text1", "Text2", "Command3"},
    {2, FormId::Form2, "Text3", "Text4", "Command4"},
    {3, FormId::Form2, "Text5", "Text6", "Command5"},
    {4, FormId::Form2, "Text7", "Text8", "Command6"},
    {5, FormId::Form2, "Text9", "Text10", "Command7"},
    {6, FormId::Form2, "Text11", "Text12", "Command8"},
    {7, FormId::Form2, "Text13", "Text14", "Command9"},
    {8, FormId::Form3, "Text1", "Text2", "Command1"},
    {9, FormId::Form3, "Text3", "Text4", "Command2"},
    {10, FormId::Form3, "Text5", "Text6", "Command3"},
    {11, FormId::Form3, "Text7", "Text8", "Command4"},
    {12, FormId::Form3, "Text9", "Text10", "Command5"},
    {13, FormId::Form3, "Text11", "Text12", "Command6"},
    {14, FormId::Form3, "Text13", "Text14", "Command7"},
    {15, FormId::Form3, "Text15", "Text16", "Command8"},
    {16, FormId::Form3, "Text17", "Text18", "Command9"},
    {17, FormId::Form3, "Text19", "Text20", "Command10"},
}};

constexpr std::span<const EntrySlot> all()
{
    return kAll;
}

// The slots of one page, in slot order: Form2 holds 1 to 7, Form3 holds 8 to 17.
std::span<const EntrySlot> onPage(FormId page);

} // namespace EntrySlots
