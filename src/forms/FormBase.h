#pragma once

#include "wizard/EntrySlots.h"
#include "wizard/Fields.h"

#include <QDialog>
#include <QPushButton>
#include <algorithm>
#include <span>
#include <string_view>
#include <vector>

class Forms;

// Window layouts are given in twips, as the wizard's design measures them.
constexpr int kTwipsPerPixel = 15;

enum class Frame {
    FixedDialog, // fixed size, close box only
    Sizable,     // resizable, with minimise and maximise buttons and a task-bar entry
};

// A window's own properties; the client area in twips.
struct WindowSpec
{
    const char *caption;
    int width;
    int height;
    Frame frame;
    const char *icon; // name for designIcon()
};

enum class ControlKind { Button, TextBox, Label, Line, DriveList, CheckBox };

// "ＭＳ Ｐゴシック" at the given size; a size of 0 keeps the window's own font.
struct FontSpec
{
    double points = 0;
    bool bold = false;
};

// One control, placed in twips relative to the client area. A line runs from (left, top)
// to (left + width, top + height).
struct ControlSpec
{
    ControlKind kind;
    const char *name;
    const char *caption;
    int left;
    int top;
    int width;
    int height;
    int tab; // tab index; -1 for a line, which has none
    FontSpec font = {};
    bool visible = true;
};

// Whether controls, the table of window form, holds every control of it that the wizard's
// operations name. Each window's table is checked as it is compiled: a control renamed in the
// table and not in the operations fails the build.
consteval bool holdsNamedControls(FormId form, std::span<const ControlSpec> controls)
{
    const auto held = [&](Control named) {
        return named.form != form || std::ranges::any_of(controls, [&](const ControlSpec &design) {
                   return std::string_view(design.name) == named.name;
               });
    };
    return std::ranges::all_of(kNamedControls, held) &&
           std::ranges::all_of(EntrySlots::all(), [&](const EntrySlot &slot) {
               return held(slot.name()) && held(slot.path()) &&
                      held({slot.form, slot.browseButton});
           });
}

// What the five windows share: built from their tables, one instance each, kept by the
// lifecycle in Forms. Enter and Esc press nothing, and the close box unloads the window.
class FormBase : public QDialog
{
    Q_OBJECT

public:
    FormId id() const { return m_id; }

    // The window's Load handler; most windows have none.
    virtual void Form_Load() {}
    // The window's Unload handler: its unload cascade, which only the pages and the
    // completion window have.
    void Form_Unload();

    // The control of window called name; a missing control, or one of another type, ends the
    // program with its name: the windows are fixed, so that is a fault of the code.
    template <typename T = QWidget> static T *controlOf(const FormBase &window, const char *name)
    {
        T *found = qobject_cast<T *>(window.controlNamed(name));
        if (!found)
            qFatal("%s has no %s called %s", qPrintable(window.objectName()),
                   T::staticMetaObject.className(), name);
        return found;
    }
    template <typename T = QWidget> T *control(const char *name) const
    {
        return controlOf<T>(*this, name);
    }

    // The window's controls as its design lists them.
    std::span<const ControlSpec> design() const { return m_design; }

    // Takes the user to a field to edit it: the field's window in place of this one, and the
    // keyboard focus in the field.
    void goBackTo(Control field);

protected:
    FormBase(Forms &forms, FormId id, const WindowSpec &window,
             std::span<const ControlSpec> controls);

    Forms &forms() const { return m_forms; }

    // Connects a button's click to the window's handler of it.
    template <typename Form> void onClick(const char *button, void (Form::*handler)())
    {
        connect(control<QPushButton>(button), &QPushButton::clicked, static_cast<Form *>(this),
                handler);
    }

    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *controlNamed(const char *name) const;
    void applyFrame(const WindowSpec &window);
    void applyTabOrder();

    Forms &m_forms;
    const FormId m_id;
    // The window's controls as the design lists them, and the widget made of each.
    const std::span<const ControlSpec> m_design;
    std::vector<QWidget *> m_controls;
};
