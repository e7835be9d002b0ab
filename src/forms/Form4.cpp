#include "forms/Form4.h"

#include "forms/Forms.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace {

using enum ControlKind;

constexpr WindowSpec kWindow{"終了", 5955, 4590, Frame::Sizable, "hand-left"};

constexpr ControlSpec kControls[] = {
    {Button, "Command1", "閉じる", 1560, 3360, 2535, 1095, 2, {36, false}},
    {Label, "Label3", "お疲れさまでした", 960, 2640, 3975, 615, 3, {27.75, false}},
    {Label, "Label2",
     "KORV.INIがこのプログラムを実行したフォルダに保存されています。"
     "これとKORVANE.EXEとAUTORUN.INFをCDのルートディレクトリに保存してください。",
     600, 1800, 4455, 735, 1},
    {Label, "Label1", "終了！", 720, 240, 3735, 1095, 0, {48, true}},
};

static_assert(holdsNamedControls(FormId::Form4, kControls));

} // namespace

Form4::Form4(Forms &forms) : FormBase(forms, FormId::Form4, kWindow, kControls)
{
    onClick("Command1", &Form4::Command1_Click);
}

// The text says where KORV.ini went in words: the program's folder as the design has it, or
// the disc folder by its name. Pointing at it shows the very file, and a screen reader reads
// it with the window.
void Form4::Form_Load()
{
    const QFileInfo saved(forms().text(kOutputPathHolder));
    const QString file = saved.absoluteFilePath();
    auto *label = control<QLabel>("Label2");
    if (saved.absolutePath() != QCoreApplication::applicationDirPath())
        label->setText(QStringLiteral("KORV.INIを %1 に保存しました。%2")
                           .arg(QDir::toNativeSeparators(saved.absolutePath()),
                                label->text().section(u'。', 1)));
    label->setToolTip(file);
    setAccessibleDescription(QStringLiteral("保存したファイル: %1").arg(file));
}

// "閉じる": unloads both pages and this window, which ends the program.
void Form4::Command1_Click()
{
    forms().unload(Forms::unloadCascade(id()));
}
