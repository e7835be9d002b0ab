#pragma once

#include "wizard/Fields.h"

// "読み込み！" on page 1: reading back the menu file of a disc made earlier.
namespace Import {

// Replaces the name and path of all seventeen slots with what the source settings file
// holds, empty where it holds nothing; no other control is read or changed.
void fromSourceFile(Fields &fields);

} // namespace Import
