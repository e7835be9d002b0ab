#pragma once

#include "forms/FormBase.h"

// Page 2: entry slots 8 to 17 and the do-not-run box; "完了" finishes the wizard.
class Form3 : public FormBase
{
    Q_OBJECT

public:
    explicit Form3(Forms &forms);

private:
    void Command11_Click();
    void Command12_Click();
};
