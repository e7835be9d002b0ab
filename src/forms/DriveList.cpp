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
}

QString DriveList::drive() const
{
    return currentData().toString();
}

void DriveList::setOwnFolder(const QString &folder)
{
    const QString chosen = drive();
    m_ownFolder = folder.endsWith(u'/') ? folder : folder + u'/';
    const QList<Volume> volumes = listMounted();
    // At start, and in place of the folder left, the entry holding the current folder.
    const int kept = chosen.isEmpty() ? -1 : findData(chosen);
    setCurrentIndex(kept >= 0 ? kept : Volumes::indexContaining(volumes, QDir::currentPath()));
}

bool DriveList::choosesFolder() const
{
    return count() > 0 && currentIndex() == count() - 1;
}

void DriveList::showPopup()
{
    const bool chooser = choosesFolder();
    const QString chosen = drive();
    listMounted();
    // The same entry stays selected. In place of a volume that went away comes the first
    // volume: a disc or a stick when one is in.
    const int found = findData(chosen);
    const int firstVolume = m_ownFolder.isEmpty() ? 0 : 1;
    setCurrentIndex(chooser ? count() - 1 : found >= 0 ? found : firstVolume);
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

// The entries that name a folder, in list order; the folder chooser follows them.
QList<Volume> DriveList::listMounted()
{
    QList<Volume> volumes = inListOrder(Volumes::mounted());
    if (!m_ownFolder.isEmpty())
        volumes.prepend({m_ownFolder, QStringLiteral("このディスク"), {}});
    clear();
    for (const Volume &volume : volumes)
        addItem(volume.displayText(), volume.root);
    addItem(QStringLiteral("フォルダーを選ぶ…"));
    for (int i = 0; i < count(); ++i)
        setItemData(i, itemText(i), Qt::ToolTipRole);
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
