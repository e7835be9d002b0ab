#include "forms/DriveList.h"

#include "modules/Module2.h"
#include "wizard/Volumes.h"

#include <QComboBox>
#include <QDir>
#include <QPointer>

void DriveList::setUp(QComboBox *drive1)
{
    const QList<Volume> volumes = Volumes::mounted();
    for (const Volume &volume : volumes)
        drive1->addItem(volume.displayText(), volume.root);
    drive1->setCurrentIndex(Volumes::indexContaining(volumes, QDir::currentPath()));
    // The root alone: with the label of the shown text in it the file would never be found.
    // The selection is read on every read, so choosing a drive has no effect until then.
    Module2::setDriveDesignation([drive1 = QPointer<QComboBox>(drive1)] {
        return drive1 ? drive1->currentData().toString() : QString();
    });
}
