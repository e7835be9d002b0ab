#pragma once

#include "forms/FormBase.h"

// Page 1, the startup window: entry slots 1 to 7, the drive list for importing, and the
// way to the help window, the comment dialog and page 2. Its hidden Label5 holds the path
// of the output file.
class Form2 : public FormBase
{
    Q_OBJECT

public:
    explicit Form2(Forms &forms);

    void Form_Load() override;

    // Saves go into folder from now on: Label5 holds its KORV.ini, and the drive list offers
    // it first.
    void setOutputFolder(const QString &folder);

private:
    void Command1_Click();
    void Command2_Click();
    void Command10_Click();
    void Command11_Click();
    void Command12_Click();
};
