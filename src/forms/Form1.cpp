#include "forms/Form1.h"

#include "forms/Forms.h"

namespace {

using enum ControlKind;

constexpr WindowSpec kWindow{"HELP", 4770, 5130, Frame::Sizable, "help"};

constexpr FontSpec kParagraph{9.75, false};

// From top to bottom: Label2, Line1, Label1, Line2, Label3, Line3, Label4, Line4, Label5.
constexpr ControlSpec kControls[] = {
    {Button, "Command1", "ＯＫ", 1440, 4680, 1815, 375, 3},
    {Label, "Label5",
     "すでにこのソフトで作ったKORVANEプログラムがCDにある場合、そのCDに保存してある情報を"
     "読み込むことができます。CDが入っているドライブを選び、読み込み！ボタンを押してください。"
     "ただし、それまでに自分で入力した情報は失われます。",
     0, 3600, 4815, 975, 5, kParagraph},
    {Line, "Line4", "", 0, 3480, 4800, 0, -1},
    {Label, "Label4",
     "このバージョンのkorvane.exeと、作成ソフトで、一度表示させるようにしたランチャーを"
     "表示させないようにすることをできるようにしました。この機能を使うには、"
     "korvane.exeのバージョンが1.03以上でなければなりません。",
     0, 2400, 4575, 975, 4, kParagraph},
    {Line, "Line3", "", 0, 2280, 4560, 0, -1},
    {Label, "Label3",
     "２ページ目の上から３個めのところに入力しないと、ＣＤを祖入したときのウィンドウの"
     "横のサイズが半分になります。",
     0, 1680, 4695, 495, 2, kParagraph},
    {Line, "Line2", "", 0, 1560, 4560, 0, -1},
    {Line, "Line1", "", 0, 720, 4680, 0, -1},
    {Label, "Label2",
     "パスにtxtファイルなどの関連づけられているファイル名を入力すると、ボタンを押したときに、"
     "関連づけられているアプリケーションでそのファイルを開くことができます。",
     0, 0, 4575, 615, 1, kParagraph},
    {Label, "Label1",
     "１ページ目の２番目の名前の方を入力しなかった場合、ＣＤを挿入したときにランチャーは"
     "表示されずに、一つ目のソフトまたはファイルが実行されます。",
     120, 840, 4455, 615, 0, kParagraph},
};

static_assert(holdsNamedControls(FormId::Form1, kControls));

} // namespace

Form1::Form1(Forms &forms) : FormBase(forms, FormId::Form1, kWindow, kControls)
{
    onClick("Command1", &Form1::Command1_Click);
}

// "ＯＫ"
void Form1::Command1_Click()
{
    forms().unload(FormId::Form1);
}
