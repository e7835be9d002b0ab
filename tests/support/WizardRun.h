#pragma once

#include "forms/CommonDialog.h"
#include "forms/FolderDialog.h"
#include "forms/FormBase.h"
#include "forms/Forms.h"
#include "forms/MessageBox.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <optional>

using TestFiles::iniLines;
using TestFiles::iniSection;

// The windows by what they are to the user.
constexpr FormId Page1 = FormId::Form2;
constexpr FormId Page2 = FormId::Form3;
constexpr FormId Help = FormId::Form1;
constexpr FormId Completion = FormId::Form4;
constexpr FormId Comment = FormId::Form5;

// Every warning fails the test function it comes in: a connection to a control that is not
// there, a window left behind, a widget used the wrong way. Only the offscreen platform's own
// notes on what it cannot do (raise a window, grab the keyboard) are no fault of ours.
inline void failOnWarnings()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^(?!This plugin does not support)")));
}

// The messages of one test, noted in shown: the next is answered with nextAnswer (with none it
// shows, for a test that acts on the real box). Nothing is left for the next test, however this
// one ends.
struct Messages : MessageBox::Recorder
{
    explicit Messages(std::optional<MessageBox::Answer> next = std::nullopt) { nextAnswer = next; }
};

// The answers a test gives the file and folder dialogs in advance (CommonDialog::setNext...,
// FolderDialog::setNext...) go with the test, used or not.
struct DialogAnswers
{
    DialogAnswers() = default;
    ~DialogAnswers()
    {
        CommonDialog::forgetNextAnswer();
        FolderDialog::forgetNextAnswer();
    }
    DialogAnswers(const DialogAnswers &) = delete;
    DialogAnswers &operator=(const DialogAnswers &) = delete;
};

// Finds a control by window and object name, loading the window hidden as any reference
// does. A missing control ends the run, naming it.
template <typename T> T *find(Forms &forms, FormId form, const char *name)
{
    auto *found =
        forms.window(form).findChild<T *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    if (!found)
        qFatal("Form%d has no %s named %s", int(form) + 1, T::staticMetaObject.className(), name);
    return found;
}

// The program as a test drives it: started like main() starts it, on page 1, but writing
// KORV.ini into a temporary folder instead of the program's own: a disc folder, with the
// launcher in it as its author puts it there; prepare puts there what else the folder holds
// before the start.
class WizardRun
{
public:
    explicit WizardRun(const std::function<void(const QString &folder)> &prepare = {})
        : forms(prepared(dir, prepare))
    {
        TestFiles::writeFile(dir.filePath(QStringLiteral("KORVANE.EXE")), "");
        forms.show(FormId::Form2);
    }

    // Page 1's hidden Label5 is where every write finds the output file.
    void setOutputFile(const QString &path) { forms.setText({FormId::Form2, "Label5"}, path); }
    QString outputFile() const { return dir.filePath(QStringLiteral("KORV.ini")); }

    template <typename T> T *get(FormId form, const char *name)
    {
        return find<T>(forms, form, name);
    }

    QString text(FormId form, const char *field) { return forms.text({form, field}); }

    // Keys for plain ASCII; anything else arrives from the input method, as Japanese does.
    void type(FormId form, const char *field, const QString &text)
    {
        QLineEdit *edit = get<QLineEdit>(form, field);
        const bool ascii =
            std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
        if (ascii) {
            QTest::keyClicks(edit, text);
            return;
        }
        QInputMethodEvent committed;
        committed.setCommitString(text);
        QApplication::sendEvent(edit, &committed);
    }

    // Selects all of the field and types over it.
    void retype(FormId form, const char *field, const QString &text)
    {
        QTest::keyClick(get<QLineEdit>(form, field), Qt::Key_A, Qt::ControlModifier);
        type(form, field, text);
    }

    void click(FormId form, const char *control)
    {
        QTest::mouseClick(get<QAbstractButton>(form, control), Qt::LeftButton);
    }

    // Presses a save button, saving the entries as they are should the wizard find that they
    // will not work on the disc: for tests of what a save writes rather than what it checks,
    // and that note no messages of their own.
    void saveAsIs(FormId form, const char *button)
    {
        const Messages answered(MessageBox::Answer::SaveAsIs);
        click(form, button);
    }

    void closeBox(FormId form) { forms.window(form).close(); }

    // Presses a button that shows a window modal, and runs body on that window while it is
    // up; body closes it. False when no modal window came up.
    bool withModal(FormId form, const char *button, const std::function<void(FormBase &)> &body)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            QPointer modal = qobject_cast<FormBase *>(QApplication::activeModalWidget());
            if (!modal)
                return;
            body(*modal);
            ran = true;
            // A failed check may leave it up; the test must still come to its end.
            if (modal && modal->isVisible() && QTest::currentTestFailed())
                modal->hide();
        });
        click(form, button);
        return ran;
    }

    bool isShown(FormId id) { return forms.isLoaded(id) && forms.window(id).isVisible(); }

    // The program ended: every window unloaded, and the end announced once.
    bool ended() const
    {
        const FormId all[] = {FormId::Form1, FormId::Form2, FormId::Form3, FormId::Form4,
                              FormId::Form5};
        return endings.count() == 1 &&
               std::none_of(std::begin(all), std::end(all),
                            [this](FormId id) { return forms.isLoaded(id); });
    }

    bool fileExists() const { return QFile::exists(outputFile()); }
    QByteArray fileBytes() const
    {
        QFile file(outputFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    Forms forms;
    QSignalSpy endings{&forms, &Forms::allUnloaded};

private:
    static QString prepared(const QTemporaryDir &dir,
                            const std::function<void(const QString &folder)> &prepare)
    {
        if (prepare)
            prepare(dir.path());
        return dir.path();
    }
};

// How the user answers a message box: through the seam (Messages::nextAnswer), or on the
// real box with a key, its close box or a click on a button.
enum class OnBox { Seam, Escape, Return, CloseBox, Click };
Q_DECLARE_METATYPE(OnBox)

// What a real message box showed, and whether the user's action closed it.
struct BoxSeen
{
    bool shown = false;
    bool closedByAction = false;
    QString text;
    Qt::TextFormat textFormat = Qt::AutoText;
    QString defaultButton;
};

// Runs f on the next modal window of type T once it is up: it may come only after a save's
// or an import's work has ended, in an event loop of its own.
template <typename T> void whenModalUp(std::function<void(T *)> f, int triesLeft = 500)
{
    QTimer::singleShot(triesLeft == 500 ? 0 : 10, [f = std::move(f), triesLeft] {
        if (auto *modal = qobject_cast<T *>(QApplication::activeModalWidget()))
            f(modal);
        else if (triesLeft > 0)
            whenModalUp<T>(f, triesLeft - 1);
    });
}

// Does action on the next real message box once it is up; a click goes to the button captioned
// button. A box the action left up is closed all the same, so that the test comes to its end.
inline void actOnNextBox(OnBox action, BoxSeen &seen, const QString &button = {})
{
    whenModalUp<QMessageBox>([action, &seen, button](QMessageBox *box) {
        seen = {true, false, box->text(), box->textFormat(),
                box->defaultButton() ? box->defaultButton()->text() : QString()};
        QWidget *focus = box->focusWidget() ? box->focusWidget() : box;
        switch (action) {
        case OnBox::Escape:
            QTest::keyClick(focus, Qt::Key_Escape);
            break;
        case OnBox::Return:
            QTest::keyClick(focus, Qt::Key_Return);
            break;
        case OnBox::CloseBox:
            box->close();
            break;
        case OnBox::Click:
            for (QAbstractButton *choice : box->buttons()) {
                if (choice->text() == button)
                    QTest::mouseClick(choice, Qt::LeftButton);
            }
            break;
        case OnBox::Seam:
            break;
        }
        seen.closedByAction = !box->isVisible();
        box->hide();
    });
}

// The user's answer to the next box: through the seam, or by acting on the real box.
inline void answerNextBox(Messages &messages, OnBox onBox, MessageBox::Answer answer, BoxSeen &seen,
                          const QString &button = {})
{
    if (onBox == OnBox::Seam)
        messages.nextAnswer = answer;
    else
        actOnNextBox(onBox, seen, button);
}

// Every test ends with no window left, unloaded ones included.
inline bool noWindowLeft()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QWidgetList left = QApplication::topLevelWidgets();
    for (const QWidget *window : left)
        qWarning() << "left behind:" << window;
    return left.isEmpty();
}
