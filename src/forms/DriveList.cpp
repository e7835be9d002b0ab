#include "forms/DriveList.h"

#include "wizard/Volumes.h"

#include <QComboBox>
#include <QDir>

void DriveList::setUp(QComboBox *drive1)
{
    const QList<Volume> volumes = Volumes::mounted();
    for (const Volume &volume : volumes)
        drive1->addItem(volume.displayText(), volume.root);
    // The list's text is the root alone: with the label of the shown text in it the file
    // would never be found.
    auto showDrive = [drive1] {
        drive1->setProperty("text", drive1->currentData().toString());
    };
    QObject::connect(drive1, &QComboBox::currentIndexChanged, drive1, showDrive);
    drive1->setCurrentIndex(Volumes::indexContaining(volumes, QDir::currentPath()));
    showDrive();
}
