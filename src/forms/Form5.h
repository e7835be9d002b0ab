#pragma once

#include "forms/FormBase.h"

// The comment dialog: the launcher window's title and one-line comment. "ＯＫ" saves them
// and hides the dialog, which keeps them; "キャンセル" discards them.
class Form5 : public FormBase
{
    Q_OBJECT

public:
    explicit Form5(Forms &forms);

private:
    void Command1_Click();
    void Command2_Click();
};
