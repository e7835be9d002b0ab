#pragma once

#include <QString>

#include <functional>

class ProfileSession;

// The five windows of the wizard.
enum class FormId { Form1, Form2, Form3, Form4, Form5 };

// One control of one window, by its object name (Text2, Check1, Label5, ...).
struct Control
{
    FormId form;
    const char *name;
};

// Page 1's hidden label that holds the path of the output file, and its drive list, whose
// text is the drive designation of the volume chosen in it.
constexpr Control kOutputPathHolder{FormId::Form2, "Label5"};
constexpr Control kDriveList{FormId::Form2, "Drive1"};
// The comment dialog's title and comment, and page 2's do-not-run box.
constexpr Control kTitle{FormId::Form5, "Text1"};
constexpr Control kComment{FormId::Form5, "Text2"};
constexpr Control kDoNotRun{FormId::Form3, "Check1"};
// The controls above: with the entry slots' (EntrySlots), every control the operations name.
constexpr Control kNamedControls[] = {kOutputPathHolder, kDriveList, kTitle, kComment, kDoNotRun};

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

// How an operation runs its long part, the reading and writing through session: at once, or
// (in the windows) on a thread of its own, with a way for the user to cancel the session.
using LongWork = std::function<void(ProfileSession &session, const std::function<void()> &work)>;
inline void runAtOnce(ProfileSession &, const std::function<void()> &work)
{
    work();
}
