// The floor of the start-up benchmark: a plain QDialog of page 1's size holding page 1's
// controls (kind, caption, place and font), built straight from the table that the build
// made of dump-forms' description of page 1, and nothing of the wizard.
#include "page_one.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kTwipsPerPixel = 15;

QFont fontOf(const PageOne::Font &font)
{
    QFont made(QString::fromUtf8(font.family));
    made.setPointSizeF(font.points);
    made.setBold(font.bold);
    return made;
}

QWidget *makeControl(const PageOne::Control &design, QWidget *parent)
{
    const QString caption = QString::fromUtf8(design.caption);
    switch (design.kind) {
    case PageOne::Kind::Button:
        return new QPushButton(caption, parent);
    case PageOne::Kind::TextBox:
        return new QLineEdit(caption, parent);
    case PageOne::Kind::List: {
        auto *list = new QComboBox(parent);
        list->addItem(caption);
        return list;
    }
    case PageOne::Kind::Label:
        break;
    }
    auto *label = new QLabel(caption, parent);
    label->setWordWrap(design.height >= 2 * label->fontMetrics().height() * kTwipsPerPixel);
    return label;
}

void addControl(const PageOne::Control &design, QWidget *parent)
{
    QWidget *control = makeControl(design, parent);
    control->setGeometry(design.left / kTwipsPerPixel, design.top / kTwipsPerPixel,
                         design.width / kTwipsPerPixel, design.height / kTwipsPerPixel);
    if (*design.font.family)
        control->setFont(fontOf(design.font));
    control->setVisible(design.visible);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QString::fromUtf8(PageOne::kCaption));
    dialog.setFont(fontOf(PageOne::kFont));
    dialog.setFixedSize(PageOne::kClientWidth / kTwipsPerPixel,
                        PageOne::kClientHeight / kTwipsPerPixel);
    for (const PageOne::Control &design : PageOne::kControls)
        addControl(design, &dialog);
    dialog.show();
    return app.exec();
}
