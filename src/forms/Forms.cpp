#include "forms/Forms.h"

#include "forms/Form1.h"
#include "forms/Form2.h"
#include "forms/Form3.h"
#include "forms/Form4.h"
#include "forms/Form5.h"

#include <algorithm>

namespace {

std::size_t slotOf(FormId id)
{
    return static_cast<std::size_t>(id);
}

} // namespace

Forms::Forms() = default;

Forms::~Forms()
{
    for (FormBase *&window : m_windows) {
        delete window;
        window = nullptr;
    }
}

FormBase &Forms::window(FormId id)
{
    FormBase *&window = m_windows[slotOf(id)];
    if (!window) {
        window = create(id);
        window->Form_Load();
    }
    return *window;
}

bool Forms::isLoaded(FormId id) const
{
    return m_windows[slotOf(id)] != nullptr;
}

void Forms::show(FormId id)
{
    FormBase &shown = window(id);
    shown.show();
    shown.activateWindow();
}

void Forms::showModal(FormId id)
{
    window(id).exec();
}

void Forms::hide(FormId id)
{
    window(id).hide();
}

void Forms::unload(FormId id)
{
    const std::size_t slot = slotOf(id);
    FormBase *window = m_windows[slot];
    if (!window || m_unloading[slot])
        return;
    m_unloading[slot] = true;
    window->Form_Unload();
    m_windows[slot] = nullptr;
    m_unloading[slot] = false;
    // Unloads mostly start from a button of the window itself: it goes once that click is
    // over. The next reference meanwhile creates a fresh window.
    window->hide();
    window->deleteLater();
    if (noneLoaded())
        emit allUnloaded();
}

void Forms::unload(std::initializer_list<FormId> ids)
{
    for (FormId id : ids)
        unload(id);
}

QString Forms::text(Control control)
{
    return widget(control)->property("text").toString();
}

void Forms::setText(Control control, const QString &text)
{
    widget(control)->setProperty("text", text);
}

bool Forms::isChecked(Control control)
{
    return widget(control)->property("checked").toBool();
}

FormBase *Forms::create(FormId id)
{
    switch (id) {
    case FormId::Form1:
        return new Form1(*this);
    case FormId::Form2:
        return new Form2(*this);
    case FormId::Form3:
        return new Form3(*this);
    case FormId::Form4:
        return new Form4(*this);
    case FormId::Form5:
        return new Form5(*this);
    }
    return nullptr;
}

QWidget *Forms::widget(Control control)
{
    const QString name = QString::fromLatin1(control.name);
    auto *found = window(control.form).findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
    if (!found)
        qFatal("Form%d has no control %s", int(control.form) + 1, control.name);
    return found;
}

bool Forms::noneLoaded() const
{
    return std::ranges::all_of(m_windows, [](const FormBase *window) { return !window; });
}
