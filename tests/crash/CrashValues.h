#pragma once

#include "support/FakeFields.h"
#include "wizard/EntrySlots.h"

#include <QString>

// Sets of field values: the save loop alternates between sets 0 and 1, and the test saves
// set 2 between kills, so that every save changes the file. Set 1's names are long, so the
// file's size changes a lot between saves and a torn file cannot pass for whole.
namespace CrashValues {

constexpr int kSets = 3;

inline QString name(int set, int slot)
{
    switch (set) {
    case 0:
        return QStringLiteral("ソフト%1").arg(slot);
    case 1:
        return QStringLiteral("長い名前%1-").arg(slot) + QString(150, u'x');
    default:
        return QStringLiteral("n%1").arg(slot);
    }
}

inline QString path(int set, int slot)
{
    return QStringLiteral("フォルダ%1\\prog%2.exe").arg(set).arg(slot);
}

inline QString doNotRun(int set)
{
    return set == 1 ? QStringLiteral("1") : QStringLiteral("0");
}

// Fills every field the page-1 and finishing saves read; title and comment stay empty.
inline void fill(FakeFields &fields, int set)
{
    for (const EntrySlot &slot : EntrySlots::all()) {
        fields.setText(slot.name(), name(set, slot.number));
        fields.setText(slot.path(), path(set, slot.number));
    }
    fields.set(FormId::Form3, "Check1", doNotRun(set));
}

} // namespace CrashValues
