#pragma once

#include "forms/FormBase.h"

// The completion window: where the file went and what to copy to the disc. It ends the
// program.
class Form4 : public FormBase
{
    Q_OBJECT

public:
    explicit Form4(Forms &forms);

    void Form_Load() override;

private:
    void Command1_Click();
};
