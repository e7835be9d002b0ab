#pragma once

#include "wizard/Fields.h"
#include "wizard/PathPicker.h"

#include <QObject>

class FormBase;
class QFileDialog;

// A page's open-file dialog, CommonDialog1, shared by the page's browse buttons: each button
// browses for the path field of its slot. The dialog is made on first use and kept with the
// page; the folder KORV.ini is saved into is in its side bar. Dialogs go through here so that a
// test can answer them instead of blocking on a modal window.
class CommonDialog : public QObject, public FileChooser
{
public:
    CommonDialog(FormBase &page, Fields &fields);

    std::optional<QString> openFile(const QStringList &nameFilters,
                                    const QString &startFolder) override;

    // The next use does not show the dialog but ends as if the user had chosen fileName,
    // had cancelled, or the dialog had closed without a file.
    static void setNextFileName(const QString &fileName);
    static void setNextCancel();
    static void setNextFailure();
    // The next use shows the dialog again.
    static void forgetNextAnswer();

private:
    QFileDialog &fileDialog();

    FormBase &m_page;
    Fields &m_fields;
    QFileDialog *m_dialog = nullptr;
};
