#include "forms/Form5.h"

#include "forms/Forms.h"
#include "forms/SaveFlow.h"

namespace {

using enum ControlKind;

constexpr WindowSpec kWindow{"設定", 4680, 2325, Frame::FixedDialog, "wrench"};

constexpr ControlSpec kControls[] = {
    {Button, "Command2", "キャンセル", 2400, 1920, 1455, 375, 5},
    {Button, "Command1", "ＯＫ", 840, 1920, 1455, 375, 4},
    {TextBox, "Text2", "", 1680, 840, 3015, 270, 3},
    {TextBox, "Text1", "", 1680, 120, 3015, 270, 1},
    {Label, "Label4", "ウィンドウの一番上に表示されます。あまり長くなると表示しきれなくなります", 0,
     1200, 2055, 615, 7},
    {Label, "Label3", "（今設定と表示されているところです。）", 120, 360, 1575, 375, 6},
    {Label, "Label2", "一言", 0, 840, 1575, 255, 2},
    {Label, "Label1", "ウィンドウの名前", 120, 120, 1455, 255, 0},
};

static_assert(holdsNamedControls(FormId::Form5, kControls));

} // namespace

Form5::Form5(Forms &forms) : FormBase(forms, FormId::Form5, kWindow, kControls)
{
    onClick("Command1", &Form5::Command1_Click);
    onClick("Command2", &Form5::Command2_Click);
}

// "ＯＫ": saves title and comment, then hides, so the dialog keeps them. A failed write
// keeps it open with its text.
void Form5::Command1_Click()
{
    if (SaveFlow::run(this, forms(), Saves::unstorableInCommentSave, Saves::commentSave))
        forms().hide(FormId::Form5);
}

// "キャンセル": what was typed is discarded.
void Form5::Command2_Click()
{
    forms().unload(FormId::Form5);
}
