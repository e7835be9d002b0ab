#pragma once

#include "forms/FormBase.h"

// The help window, shown modal from page 1.
class Form1 : public FormBase
{
    Q_OBJECT

public:
    explicit Form1(Forms &forms);

private:
    void Command1_Click();
};
