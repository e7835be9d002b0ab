#include "forms/Forms.h"

#include "forms/BackgroundWork.h"
#include "forms/Form1.h"
#include "forms/Form2.h"
#include "forms/Form3.h"
#include "forms/Form4.h"
#include "forms/Form5.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

std::size_t slotOf(FormId id)
{
    return static_cast<std::size_t>(id);
}

} // namespace

Forms::Forms(const QString &outputFolder)
    : m_outputFolder(outputFolder.isEmpty() ? QCoreApplication::applicationDirPath() : outputFolder)
{}

void Forms::setOutputFolder(const QString &folder)
{
    m_outputFolder = folder;
    static_cast<Form2 &>(window(FormId::Form2)).setOutputFolder(folder);
}

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

void Forms::unload(std::span<const FormId> ids)
{
    for (FormId id : ids)
        unload(id);
}

std::span<const FormId> Forms::unloadCascade(FormId id)
{
    static constexpr FormId kEveryPage[] = {FormId::Form2, FormId::Form3, FormId::Form4,
                                            FormId::Form5};
    static constexpr FormId kPagesAndCompletion[] = {FormId::Form2, FormId::Form3, FormId::Form4};
    switch (id) {
    case FormId::Form2:
    case FormId::Form3:
        return kEveryPage;
    case FormId::Form4:
        return kPagesAndCompletion;
    case FormId::Form1:
    case FormId::Form5:
        break;
    }
    return {};
}

void Forms::runWork(QWidget *window, const QString &label, ProfileSession &session,
                    const std::function<void()> &work)
{
    ++m_working;
    BackgroundWork::run(window, label, session, work);
    --m_working;
}

QString Forms::text(Control control)
{
    return this->control<QWidget>(control)->property("text").toString();
}

void Forms::setText(Control control, const QString &text)
{
    this->control<QWidget>(control)->setProperty("text", text);
}

bool Forms::isChecked(Control control)
{
    return this->control<QWidget>(control)->property("checked").toBool();
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

bool Forms::noneLoaded() const
{
    return std::ranges::all_of(m_windows, [](const FormBase *window) { return !window; });
}
