#include "forms/Form2.h"

#include "forms/CommonDialog.h"
#include "forms/DriveList.h"
#include "forms/FileDrop.h"
#include "forms/Forms.h"
#include "forms/ImportFlow.h"
#include "forms/SaveFlow.h"
#include "wizard/EntrySlots.h"

#include <QDir>
#include <QLineEdit>

namespace {

using enum ControlKind;

constexpr WindowSpec kWindow{"KORVANE作成ウィザード PAGE1", 7530, 4515, Frame::FixedDialog,
                             "hand-right"};

constexpr ControlSpec kControls[] = {
    {Button, "Command12", "読み込み！", 5160, 4200, 1215, 375, 34},
    {DriveList, "Drive1", "", 3720, 4200, 1455, 300, 32},
    {Button, "Command11", "コメントを入れる", 2160, 4080, 1455, 375, 31},
    {Button, "Command10", "ヘルプ", 6480, 4080, 975, 375, 30},
    {Button, "Command9", "参照", 6840, 3480, 615, 255, 27},
    {Button, "Command8", "参照", 6840, 3120, 615, 255, 26},
    {Button, "Command7", "参照", 6840, 2760, 615, 255, 25},
    {Button, "Command6", "参照", 6840, 2400, 615, 255, 24},
    {Button, "Command5", "参照", 6840, 2040, 615, 255, 23},
    {Button, "Command4", "参照", 6840, 1680, 615, 300, 22},
    {Button, "Command3", "参照", 6840, 1320, 615, 255, 21},
    {Button, "Command2", "キャンセル", 0, 4080, 1095, 375, 19},
    {Button, "Command1", "次へ", 1080, 4080, 1095, 375, 18},
    {TextBox, "Text14", "", 2640, 3480, 4095, 270, 17},
    {TextBox, "Text13", "", 0, 3480, 2415, 270, 16},
    {TextBox, "Text12", "", 2640, 3120, 4095, 270, 15},
    {TextBox, "Text11", "", 0, 3120, 2415, 270, 14},
    {TextBox, "Text10", "", 2640, 2760, 4095, 270, 13},
    {TextBox, "Text9", "", 0, 2760, 2415, 270, 12},
    {TextBox, "Text8", "", 2640, 2400, 4095, 270, 11},
    {TextBox, "Text7", "", 0, 2400, 2415, 270, 10},
    {TextBox, "Text6", "", 2640, 2040, 4095, 270, 9},
    {TextBox, "Text5", "", 0, 2040, 2415, 270, 8},
    {TextBox, "Text4", "", 2640, 1680, 4095, 270, 7},
    {TextBox, "Text3", "", 240, 1680, 2175, 270, 6},
    {TextBox, "Text2", "", 2640, 1320, 4095, 270, 5},
    {TextBox, "Text1", "", 0, 1320, 2415, 270, 1},
    {Label, "Label8", "↓CDドライブを選択", 4080, 3840, 1575, 255, 33},
    {Label, "Label7", "※二つ以上登録するときは必ず入力してください。", 120, 3840, 3855, 255, 29},
    {Label, "Label6", "※", 0, 1680, 255, 255, 28, {11.25, true}},
    {Label, "Label5", "Label5", 4800, 120, 1575, 255, 20, {}, false},
    {Label, "Label4", "パス（ドライブ名は自動的に削除されます。）", 2640, 960, 3495, 255, 4},
    {Label, "Label3", "ソフトの名前", 120, 960, 2295, 255, 3},
    {Label, "Label2",
     "KORVANEプログラムに表示させたいソフトの名前とそのパスを指定してください。"
     "右クリックを使って入力はクリップボードを利用すると便利です。",
     0, 480, 7290, 420, 2},
    {Label, "Label1", "ＫＯＲＶＡＮＥプログラムを作成します", 240, 120, 4335, 255, 0, {12, true}},
};

static_assert(holdsNamedControls(FormId::Form2, kControls));

} // namespace

Form2::Form2(Forms &forms) : FormBase(forms, FormId::Form2, kWindow, kControls)
{
    onClick("Command1", &Form2::Command1_Click);
    onClick("Command2", &Form2::Command2_Click);
    onClick("Command10", &Form2::Command10_Click);
    onClick("Command11", &Form2::Command11_Click);
    onClick("Command12", &Form2::Command12_Click);
    new CommonDialog(*this, forms); // CommonDialog1, for every browse button of the page
}

// Start-up: every path field takes dropped files (page 2's load it, hidden), the output file
// is KORV.ini in the output folder (the program's own unless told another), and what that
// file holds already fills the fields.
void Form2::Form_Load()
{
    for (const EntrySlot &slot : EntrySlots::all())
        FileDrop::enable(forms().control<QLineEdit>(slot.path()));
    setOutputFolder(forms().outputFolder());
    ImportFlow::atStart(this, forms());
}

void Form2::setOutputFolder(const QString &folder)
{
    const QString file = QDir(folder).filePath(QStringLiteral("KORV.ini"));
    forms().setText(kOutputPathHolder, QDir::toNativeSeparators(file));
    control<class DriveList>("Drive1")->setOwnFolder(folder);
}

// "次へ"
void Form2::Command1_Click()
{
    if (!SaveFlow::run(this, forms(), Saves::unstorableInPageOneSave, Saves::pageOneSave,
                       EntryCheck::inPageOneSave))
        return;
    forms().show(FormId::Form3);
    forms().hide(FormId::Form2);
}

// "キャンセル"
void Form2::Command2_Click()
{
    forms().unload({FormId::Form2, FormId::Form5});
}

// "ヘルプ"
void Form2::Command10_Click()
{
    forms().showModal(FormId::Form1);
}

// "コメントを入れる"
void Form2::Command11_Click()
{
    forms().showModal(FormId::Form5);
}

// "読み込み！"
void Form2::Command12_Click()
{
    ImportFlow::run(this, forms());
}
