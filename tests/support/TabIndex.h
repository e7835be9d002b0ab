#pragma once

#include "forms/FormBase.h"

#include <QWidget>

// The tab index window's design gives control; -1 for a line, and for a widget that is none of
// the window's controls.
inline int tabIndex(const FormBase &window, const QWidget &control)
{
    for (const ControlSpec &design : window.design()) {
        if (control.objectName() == QLatin1String(design.name))
            return design.tab;
    }
    return -1;
}
