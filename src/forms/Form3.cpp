#include "forms/Form3.h"

#include "forms/CommonDialog.h"
#include "forms/Forms.h"
#include "forms/SaveFlow.h"

namespace {

using enum ControlKind;

constexpr WindowSpec kWindow{"KORVANE作成ウィザード PAGE2", 7770, 4635, Frame::FixedDialog,
                             "hand-right"};

constexpr ControlSpec kControls[] = {
    {CheckBox, "Check1", "KORVANEを実行しないようにする", 4680, 4200, 3015, 180, 36},
    {Button, "Command12", "前へ", 2280, 4200, 1095, 375, 33},
    {Button, "Command11", "完了", 3360, 4200, 1335, 375, 32},
    {Button, "Command10", "参照", 6480, 3600, 855, 255, 31},
    {Button, "Command9", "参照", 6480, 3240, 855, 255, 30},
    {Button, "Command8", "参照", 6480, 2880, 855, 255, 29},
    {Button, "Command7", "参照", 6480, 2520, 855, 255, 28},
    {Button, "Command6", "参照", 6480, 2160, 855, 255, 27},
    {Button, "Command5", "参照", 6480, 1800, 855, 255, 26},
    {Button, "Command4", "参照", 6480, 1440, 855, 255, 25},
    {Button, "Command3", "参照", 6480, 1080, 855, 255, 24},
    {Button, "Command2", "参照", 6480, 720, 855, 255, 23},
    {TextBox, "Text20", "", 2760, 3600, 3495, 270, 22},
    {TextBox, "Text19", "", 120, 3600, 2415, 270, 21},
    {TextBox, "Text18", "", 2760, 3240, 3495, 270, 20},
    {TextBox, "Text17", "", 120, 3240, 2415, 270, 19},
    {TextBox, "Text16", "", 2760, 2880, 3495, 270, 18},
    {TextBox, "Text15", "", 120, 2880, 2415, 270, 17},
    {TextBox, "Text14", "", 2760, 2520, 3495, 270, 16},
    {TextBox, "Text13", "", 120, 2520, 2415, 270, 15},
    {TextBox, "Text12", "", 2760, 2160, 3495, 270, 14},
    {TextBox, "Text11", "", 120, 2160, 2415, 270, 13},
    {TextBox, "Text10", "", 2760, 1800, 3495, 270, 12},
    {TextBox, "Text9", "", 120, 1800, 2415, 270, 11},
    {TextBox, "Text8", "", 2760, 1440, 3495, 270, 10},
    {TextBox, "Text7", "", 120, 1440, 2415, 270, 9},
    {TextBox, "Text6", "", 2760, 1080, 3495, 270, 8},
    {TextBox, "Text5", "", 360, 1080, 2175, 270, 7},
    {TextBox, "Text4", "", 2760, 720, 3495, 270, 6},
    {TextBox, "Text3", "", 120, 720, 2415, 270, 5},
    {Button, "Command1", "参照", 6480, 360, 855, 255, 4},
    {TextBox, "Text2", "", 2760, 360, 3495, 270, 3},
    {TextBox, "Text1", "", 120, 360, 2415, 270, 0},
    {Label,
     "Label4",
     "※ここは１０個以上入力するときには必ず入力してください。",
     840,
     3960,
     6375,
     255,
     35,
     {9.75, true}},
    {Label, "Label3", "※", 0, 1080, 255, 255, 34, {12, true}},
    {Label, "Label2", "パス（ドライブ名は自動的に削除されます。）", 3000, 0, 3735, 375, 2},
    {Label, "Label1", "ソフトの名前", 120, 0, 2415, 255, 1},
};

static_assert(holdsNamedControls(FormId::Form3, kControls));

} // namespace

Form3::Form3(Forms &forms) : FormBase(forms, FormId::Form3, kWindow, kControls)
{
    onClick("Command11", &Form3::Command11_Click);
    onClick("Command12", &Form3::Command12_Click);
    new CommonDialog(*this, forms); // CommonDialog1, for every browse button of the page
}

// "完了"
void Form3::Command11_Click()
{
    if (!SaveFlow::run(this, forms(), Saves::unstorableInFinishingSave, Saves::finishingSave,
                       EntryCheck::inFinishingSave))
        return;
    forms().hide(FormId::Form3);
    forms().show(FormId::Form4);
}

// "前へ": back to page 1; nothing is saved.
void Form3::Command12_Click()
{
    forms().show(FormId::Form2);
    forms().hide(FormId::Form3);
}
