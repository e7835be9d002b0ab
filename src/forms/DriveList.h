#pragma once

#include "wizard/Volumes.h"

#include <QComboBox>

// Page 1's Drive1: the mounted volumes, discs and sticks first, each by its label and root. It
// starts on the volume holding the current folder and lists the volumes anew each time it
// opens, so that a disc inserted since is there and one taken out is not.
class DriveList : public QComboBox
{
    Q_OBJECT
    // What the wizard reads of the list, as of any control: its text, the drive designation.
    Q_PROPERTY(QString text READ drive)

public:
    explicit DriveList(QWidget *parent);

    // The selected volume's root: the drive designation. Empty when none is selected.
    QString drive() const;

    void showPopup() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<Volume> listMounted();
    void fitPopupToEntries();
};
