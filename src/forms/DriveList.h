#pragma once

#include "wizard/Volumes.h"

#include <QComboBox>

// Page 1's Drive1: the folder KORV.ini is saved into, as the disc being prepared; then the
// mounted volumes, discs and sticks first, each by its label and root; last, a way to read
// any folder. It starts on the entry holding the current folder and lists the volumes anew
// each time it opens, so that a disc inserted since is there and one taken out is not.
class DriveList : public QComboBox
{
    Q_OBJECT
    // What the wizard reads of the list, as of any control: its text, the drive designation.
    Q_PROPERTY(QString text READ drive)

public:
    explicit DriveList(QWidget *parent);

    // The selected volume's root: the drive designation. Empty when none is selected, and on
    // the last entry.
    QString drive() const;

    // The folder KORV.ini is saved into, offered as the first entry; the list is empty until
    // it is told.
    void setOwnFolder(const QString &folder);
    // The last entry is chosen: the folder to read is yet to be asked for.
    bool choosesFolder() const;

    void showPopup() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<Volume> listMounted();
    void fitPopupToEntries();

    QString m_ownFolder;
};
