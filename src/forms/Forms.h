#pragma once

#include "forms/FormBase.h"
#include "wizard/Fields.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <initializer_list>
#include <span>

// The lifecycle of the five windows: one instance each, created on first reference (its
// Load handler runs then), kept with its fields while hidden, discarded when unloaded.
// It gives the wizard operations their fields: a field of a window that is not loaded
// loads that window, hidden.
class Forms : public QObject, public Fields
{
    Q_OBJECT

public:
    // The windows of a run that writes KORV.ini into outputFolder; the program's own folder
    // when none is given.
    explicit Forms(const QString &outputFolder = {});
    ~Forms() override;

    const QString &outputFolder() const { return m_outputFolder; }
    // Saves go into folder from now on; page 1 shows it.
    void setOutputFolder(const QString &folder);

    // The window, loaded hidden if it is not loaded yet.
    FormBase &window(FormId id);
    bool isLoaded(FormId id) const;

    void show(FormId id);
    // Shows the window modal and returns once it is hidden or unloaded.
    void showModal(FormId id);
    void hide(FormId id);

    // Runs the window's Unload handler, then discards the window. Does nothing for a window
    // that is not loaded or whose unload is under way.
    void unload(FormId id);
    void unload(std::span<const FormId> ids);
    void unload(std::initializer_list<FormId> ids) { unload(std::span(ids.begin(), ids.size())); }
    // What the window's Unload handler unloads, in order: page 1, page 2 and the completion
    // window end the program; the help window and the comment dialog unload nothing.
    static std::span<const FormId> unloadCascade(FormId id);

    // A control of a window, loading the window hidden if need be; a missing one ends the
    // program, naming it.
    template <typename T> T *control(Control control)
    {
        return FormBase::controlOf<T>(window(control.form), control.name);
    }

    // Runs a save's or an import's work over window (BackgroundWork::run). Until it is done, the
    // windows it works for have to stay: their close boxes do nothing.
    void runWork(QWidget *window, const QString &label, ProfileSession &session,
                 const std::function<void()> &work);
    bool isWorking() const { return m_working > 0; }

    QString text(Control control) override;
    void setText(Control control, const QString &text) override;
    bool isChecked(Control control) override;

signals:
    // The last loaded window was unloaded: the program ends.
    void allUnloaded();

private:
    FormBase *create(FormId id);
    bool noneLoaded() const;

    QString m_outputFolder;
    std::array<FormBase *, 5> m_windows{};
    std::array<bool, 5> m_unloading{};
    int m_working = 0;
};
