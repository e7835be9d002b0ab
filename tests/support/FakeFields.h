#pragma once

#include "wizard/Fields.h"
#include "wizard/Saves.h"

#include <QHash>
#include <QString>
#include <QStringList>

// The windows' controls as plain values, so the wizard operations can run without windows.
// It records every control read and every control set, in order, so tests can check sequences.
class FakeFields : public Fields
{
public:
    QString text(Control control) override
    {
        reads.append(nameOf(control));
        return values.value(nameOf(control));
    }
    void setText(Control control, const QString &text) override
    {
        writes.append(nameOf(control));
        values.insert(nameOf(control), text);
    }
    bool isChecked(Control control) override { return values.value(nameOf(control)) == "1"; }

    void set(FormId form, const char *name, const QString &text) { setText({form, name}, text); }
    QString get(FormId form, const char *name) const { return values.value(nameOf({form, name})); }

    // "Form3.Text2" style, as the windows call their controls.
    static QString nameOf(Control control)
    {
        return QStringLiteral("Form%1.%2").arg(int(control.form) + 1).arg(control.name);
    }

    QHash<QString, QString> values;
    QStringList reads;
    QStringList writes;
};

// Runs save as the windows run it, into the file the output path holder names.
inline FileStatus runSave(Saves::Save save, Fields &fields)
{
    return Saves::run(save, fields, Saves::outputFile(fields));
}
