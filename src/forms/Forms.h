#pragma once

#include "wizard/Fields.h"

#include <QObject>
#include <array>
#include <initializer_list>

class FormBase;
class QWidget;

// The lifecycle of the five windows: one instance each, created on first reference (its
// Load handler runs then), kept with its fields while hidden, discarded when unloaded.
// It gives the wizard operations their fields: a field of a window that is not loaded
// loads that window, hidden.
class Forms : public QObject, public Fields
{
    Q_OBJECT

public:
    Forms();
    ~Forms() override;

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
    void unload(std::initializer_list<FormId> ids);

    // A control of a window, loading the window hidden if need be.
    template <typename T> T *control(Control control) { return qobject_cast<T *>(widget(control)); }

    QString text(Control control) override;
    void setText(Control control, const QString &text) override;
    bool isChecked(Control control) override;

signals:
    // The last loaded window was unloaded: the program ends.
    void allUnloaded();

private:
    FormBase *create(FormId id);
    QWidget *widget(Control control);
    bool noneLoaded() const;

    std::array<FormBase *, 5> m_windows{};
    std::array<bool, 5> m_unloading{};
};
