#include "forms/DriveList.h"

#include <QAbstractItemView>
#include <QDir>
#include <QScrollBar>
#include <QStylePainter>
#include <algorithm>
#include <utility>

namespace {

// Discs and sticks first, where a disc to read from is; then the rest; each group by root.
QList<Volume> inListOrder(QList<Volume> volumes)
{
    std::ranges::sort(volumes, [](const Volume &a, const Volume &b) {
        return std::pair(!a.isRemovable(), a.root) < std::pair(!b.isRemovable(), b.root);
    });
    return volumes;
}

} // namespace

DriveList::DriveList(QWidget *parent) : QComboBox(parent)
{
    // The box's tip is the whole of the selected entry, which the box may show cut.
    connect(this, &QComboBox::currentTextChanged, this, &QWidget::setToolTip);
    const QList<Volume> volumes = listMounted();
    setCurrentIndex(Volumes::indexContaining(volumes, QDir::currentPath()));
}

QString DriveList::drive() const
{
    return currentData().toString();
}

void DriveList::showPopup()
{
    const QString chosen = drive();
    listMounted();
    // The same volume stays selected. In place of one that went away comes the first entry: a
    // disc or a stick when one is in.
    setCurrentIndex(std::max(findData(chosen), 0));
    fitPopupToEntries();
    QComboBox::showPopup();
}

// The closed box shows as much of the entry as fits. A label, which the user knows the volume
// by, stays whole where it can; a root alone keeps its end, where the roots of discs differ.
// The whole entry is the tip.
void DriveList::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const bool labelled = option.currentText != QDir::toNativeSeparators(drive());
    // The style draws the text one pixel in from either side of the field.
    option.currentText = fontMetrics().elidedText(
        option.currentText, labelled ? Qt::ElideRight : Qt::ElideMiddle, field.width() - 2);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

QList<Volume> DriveList::listMounted()
{
    const QList<Volume> volumes = inListOrder(Volumes::mounted());
    clear();
    for (const Volume &volume : volumes) {
        addItem(volume.displayText(), volume.root);
        setItemData(count() - 1, volume.displayText(), Qt::ToolTipRole);
    }
    return volumes;
}

// The open list is as wide as its longest entry, however narrow the box.
void DriveList::fitPopupToEntries()
{
    QAbstractItemView *list = view();
    const int scrollBar =
        count() > maxVisibleItems() ? list->verticalScrollBar()->sizeHint().width() : 0;
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() + scrollBar);
}
