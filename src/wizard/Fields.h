#pragma once

#include <QString>

// The five windows of the wizard.
enum class FormId { Form1, Form2, Form3, Form4, Form5 };

// One control of one window, by its object name (Text2, Check1, Label5, ...).
struct Control
{
    FormId form;
    const char *name;
};

// The wizard keeps its state in the windows' controls. The operations reach them through
// this interface; referring to a control of a window that is not loaded loads it, hidden.
class Fields
{
public:
    virtual ~Fields() = default;

    virtual QString text(Control control) = 0;
    virtual void setText(Control control, const QString &text) = 0;
    virtual bool isChecked(Control control) = 0;
};
