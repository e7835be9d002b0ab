#include "wizard/EntrySlots.h"

std::span<const EntrySlot> EntrySlots::onPage(FormId page)
{
    constexpr std::size_t kPageOneSlots = 7;
    const std::span<const EntrySlot> table = kAll;
    switch (page) {
    case FormId::Form2:
        return table.first(kPageOneSlots);
    case FormId::Form3:
        return table.subspan(kPageOneSlots);
    default:
        return {};
    }
}
