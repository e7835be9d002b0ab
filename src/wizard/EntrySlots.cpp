#include "wizard/EntrySlots.h"

#include <array>

namespace {

constexpr std::array<EntrySlot, 17> kSlots{{
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

constexpr std::size_t kPageOneSlots = 7;

} // namespace

const QString &EntrySlot::key() const
{
    // Made once: the saves and the import ask for them key by key.
    static const auto keys = [] {
        std::array<QString, kSlots.size()> numbers;
        for (std::size_t i = 0; i < numbers.size(); ++i)
            numbers[i] = QString::number(kSlots[i].number);
        return numbers;
    }();
    return keys[std::size_t(number - 1)];
}

std::span<const EntrySlot> EntrySlots::all()
{
    return kSlots;
}

std::span<const EntrySlot> EntrySlots::onPage(FormId page)
{
    const std::span<const EntrySlot> table = kSlots;
    switch (page) {
    case FormId::Form2:
        return table.first(kPageOneSlots);
    case FormId::Form3:
        return table.subspan(kPageOneSlots);
    default:
        return {};
    }
}
