// Loads every window of the wizard without showing it and prints its controls as JSON:
// positions and sizes in twips, captions, fonts, tab indexes, visibility.

#include "forms/FormBase.h"
#include "forms/Forms.h"
#include "support/TabIndex.h"

#include <QApplication>
#include <QFontInfo>
#include <QFrame>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace {

int twips(int pixels)
{
    return pixels * kTwipsPerPixel;
}

QJsonObject describeFont(const QFont &font)
{
    return {{"family", font.families().value(0, font.family())},
            {"rendered", QFontInfo(font).family()},
            {"size", font.pointSizeF()},
            {"bold", font.bold()}};
}

bool isLine(const QWidget *control)
{
    const auto *frame = qobject_cast<const QFrame *>(control);
    return frame && frame->frameShape() == QFrame::HLine;
}

// A line has end points instead of a box, and no caption, font or tab index.
QJsonObject describeLine(const QWidget *line, QJsonObject described)
{
    const QRect box = line->geometry();
    described["x1"] = twips(box.left());
    described["y1"] = twips(box.top());
    described["x2"] = twips(box.left() + box.width());
    described["y2"] = twips(box.top());
    return described;
}

QJsonObject describeControl(const FormBase &window, const QWidget *control)
{
    QJsonObject described{{"name", control->objectName()},
                          {"type", control->metaObject()->className()},
                          {"visible", control->isVisibleTo(control->window())}};
    if (isLine(control))
        return describeLine(control, described);
    const QRect box = control->geometry();
    described["caption"] = control->property("text").toString();
    described["left"] = twips(box.left());
    described["top"] = twips(box.top());
    described["width"] = twips(box.width());
    described["height"] = twips(box.height());
    described["font"] = describeFont(control->font());
    described["tabIndex"] = tabIndex(window, *control);
    described["takesFocus"] = bool(control->focusPolicy() & Qt::TabFocus);
    return described;
}

QJsonObject describeWindow(const FormBase &window)
{
    // From the front of the stack back, which is the order the design lists them in.
    QJsonArray controls;
    for (const QWidget *control :
         window.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        controls.prepend(describeControl(window, control));
    const Qt::WindowFlags flags = window.windowFlags();
    return {{"name", window.metaObject()->className()},
            {"caption", window.windowTitle()},
            {"clientWidth", twips(window.width())},
            {"clientHeight", twips(window.height())},
            {"fixedSize", window.minimumSize() == window.maximumSize()},
            {"minimizeButton", bool(flags & Qt::WindowMinimizeButtonHint)},
            {"maximizeButton", bool(flags & Qt::WindowMaximizeButtonHint)},
            {"font", describeFont(window.font())},
            {"controls", controls}};
}

} // namespace

int main(int argc, char *argv[])
{
    // Nothing is shown, so no display is needed.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Forms forms;
    QJsonArray windows;
    for (FormId id : {FormId::Form1, FormId::Form2, FormId::Form3, FormId::Form4, FormId::Form5})
        windows.append(describeWindow(forms.window(id)));
    QTextStream(stdout) << QJsonDocument(windows).toJson();
    return 0;
}
