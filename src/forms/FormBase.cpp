#include "forms/FormBase.h"

#include "forms/DesignLabel.h"
#include "forms/DriveList.h"
#include "forms/Forms.h"
#include "forms/WindowIcon.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cstring>
#include <utility>

namespace {

int pixels(int twips)
{
    return twips / kTwipsPerPixel;
}

// The design's Japanese font, and the installed one that stands in where it is missing.
QFont designFont(const FontSpec &design)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    font.setPointSizeF(design.points);
    font.setBold(design.bold);
    return font;
}

// Where no font is given: a Japanese UI font whose text fits the design's boxes.
QFont windowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic")});
    font.setPointSizeF(9);
    return font;
}

QFrame *newLine(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    return line;
}

QPushButton *newButton(const QString &caption, QWidget *parent)
{
    // No button is a default button, so Enter in a text box presses nothing.
    auto *button = new QPushButton(caption, parent);
    button->setAutoDefault(false);
    return button;
}

QLineEdit *newTextBox(QWidget *parent)
{
    // Only the path fields take drops, and only files (FileDrop); a text box takes none.
    auto *textBox = new QLineEdit(parent);
    textBox->setAcceptDrops(false);
    return textBox;
}

// The design's check box is less high than the style's box: the box keeps inside it.
QCheckBox *newCheckBox(const QString &caption, int height, QWidget *parent)
{
    auto *checkBox = new QCheckBox(caption, parent);
    checkBox->setStyleSheet(
        QStringLiteral("QCheckBox::indicator { width: %1px; height: %1px; }").arg(height - 1));
    return checkBox;
}

QWidget *newControl(const ControlSpec &design, QWidget *parent)
{
    const QString caption = QString::fromUtf8(design.caption);
    switch (design.kind) {
    case ControlKind::Button:
        return newButton(caption, parent);
    case ControlKind::TextBox:
        return newTextBox(parent);
    case ControlKind::Label:
        return new DesignLabel(caption, parent);
    case ControlKind::Line:
        return newLine(parent);
    case ControlKind::DriveList:
        return new DriveList(parent);
    case ControlKind::CheckBox:
        return newCheckBox(caption, pixels(design.height), parent);
    }
    return nullptr;
}

QRect placement(const ControlSpec &design)
{
    // A horizontal line is one pixel high.
    const int height = design.kind == ControlKind::Line ? kTwipsPerPixel : design.height;
    return {pixels(design.left), pixels(design.top), pixels(design.width), pixels(height)};
}

QWidget *place(const ControlSpec &design, QWidget *parent)
{
    QWidget *control = newControl(design, parent);
    control->setObjectName(QString::fromLatin1(design.name));
    control->setGeometry(placement(design));
    if (design.font.points > 0)
        control->setFont(designFont(design.font));
    control->setVisible(design.visible);
    return control;
}

} // namespace

FormBase::FormBase(Forms &forms, FormId id, const WindowSpec &window,
                   std::span<const ControlSpec> controls)
    : m_forms(forms), m_id(id), m_design(controls), m_controls(controls.size())
{
    setObjectName(QStringLiteral("Form%1").arg(int(id) + 1));
    setWindowTitle(QString::fromUtf8(window.caption));
    setWindowIcon(designIcon(window.icon));
    setFont(windowFont());
    // The design lists its controls from the top of the stack down: where two overlap, the
    // one listed first is in front. Made from the last up, each lands in front of those
    // made before it.
    for (std::size_t i = controls.size(); i-- > 0;)
        m_controls[i] = place(controls[i], this);
    applyFrame(window);
    applyTabOrder();
}

void FormBase::Form_Unload()
{
    m_forms.unload(Forms::unloadCascade(m_id));
}

QWidget *FormBase::controlNamed(const char *name) const
{
    for (std::size_t i = 0; i < m_design.size(); ++i) {
        if (std::strcmp(m_design[i].name, name) == 0)
            return m_controls[i];
    }
    return nullptr;
}

void FormBase::applyFrame(const WindowSpec &window)
{
    const QSize client(pixels(window.width), pixels(window.height));
    const Qt::WindowFlags common = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (window.frame == Frame::FixedDialog) {
        setWindowFlags(Qt::Dialog | common | Qt::MSWindowsFixedSizeDialogHint);
        setFixedSize(client);
    } else {
        setWindowFlags(Qt::Window | common | Qt::WindowMinMaxButtonsHint);
        resize(client);
    }
}

// Tab walks the focusable controls by tab index; the first of them has the focus.
void FormBase::applyTabOrder()
{
    QList<std::pair<int, QWidget *>> stops;
    for (std::size_t i = 0; i < m_design.size(); ++i) {
        if (m_controls[i]->focusPolicy() & Qt::TabFocus)
            stops.append({m_design[i].tab, m_controls[i]});
    }
    std::ranges::sort(stops, {}, &std::pair<int, QWidget *>::first);
    for (qsizetype i = 1; i < stops.size(); ++i)
        setTabOrder(stops[i - 1].second, stops[i].second);
    if (!stops.isEmpty())
        stops.first().second->setFocus();
}

void FormBase::goBackTo(Control field)
{
    if (field.form != m_id) {
        m_forms.show(field.form);
        m_forms.hide(m_id);
    }
    m_forms.control<QWidget>(field)->setFocus(Qt::OtherFocusReason);
}

void FormBase::keyPressEvent(QKeyEvent *event)
{
    // No button is the default or the cancel button: Enter presses only a button that has
    // the focus, and Esc presses nothing.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()))
            button->click();
        event->accept();
        return;
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void FormBase::closeEvent(QCloseEvent *event)
{
    // The close box unloads the window, running its Unload handler; the lifecycle hides it.
    // While a save or an import runs, the windows it works for have to stay: a close box
    // pressed meanwhile does nothing.
    event->ignore();
    if (!m_forms.isWorking())
        m_forms.unload(m_id);
}

void FormBase::hideEvent(QHideEvent *event)
{
    // Where the window is now becomes its place: shown again, it comes back there, wherever the
    // user moved it. Left unmoved by the program, a dialog would be centred again and the
    // window manager would place it anew.
    if (!event->spontaneous())
        move(pos());
    QDialog::hideEvent(event);
}
