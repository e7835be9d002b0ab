#include "forms/CommonDialog.h"

#include "forms/FormBase.h"
#include "wizard/EntrySlots.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <utility>

namespace {

// How a use of the dialog ended: its result and the files it reports.
struct Outcome
{
    int result;
    QStringList files;
};

std::optional<Outcome> g_nextOutcome;

// A pop-up of the dialog can outlive it: Qt leaves the file name's completion list up when
// Enter on a typed path, or the close box, ends the dialog. Left there, it would take the
// user's next click in the page.
void hideLeftPopups()
{
    for (QWidget *popup = QApplication::activePopupWidget(); popup && popup->isVisible();
         popup = QApplication::activePopupWidget())
        popup->hide();
}

Outcome shown(QFileDialog &dialog)
{
    const int result = dialog.exec();
    hideLeftPopups();
    return {result, dialog.selectedFiles()};
}

} // namespace

CommonDialog::CommonDialog(FormBase &page, Fields &fields)
    : QObject(&page), m_page(page), m_fields(fields)
{
    for (const EntrySlot &slot : EntrySlots::onPage(page.id())) {
        auto *button = page.control<QPushButton>(slot.browseButton);
        connect(button, &QPushButton::clicked, this,
                [this, &fields, slot] { PathPicker::browse(fields, slot.path(), *this); });
    }
}

std::optional<QString> CommonDialog::openFile(const QStringList &nameFilters,
                                              const QString &startFolder)
{
    QFileDialog &dialog = fileDialog();
    dialog.setNameFilters(nameFilters);
    dialog.setDirectory(startFolder);
    // The computer, the home folder and the disc folder. Qt keeps a dialog's side bar for the
    // next program that shows one: built afresh, it keeps no disc folder of an earlier run.
    const QList<QUrl> sideBar{
        QUrl(QStringLiteral("file:")), QUrl::fromLocalFile(QDir::homePath()),
        QUrl::fromLocalFile(QFileInfo(m_fields.text(kOutputPathHolder)).absolutePath())};
    dialog.setSidebarUrls(sideBar);
    const Outcome outcome = g_nextOutcome ? *std::exchange(g_nextOutcome, {}) : shown(dialog);
    // Only an accepted dialog that names a file counts: a cancel or a failure changes nothing.
    if (outcome.result != QDialog::Accepted || outcome.files.value(0).isEmpty())
        return std::nullopt;
    return outcome.files.first();
}

QFileDialog &CommonDialog::fileDialog()
{
    if (!m_dialog) {
        m_dialog = new QFileDialog(&m_page);
        m_dialog->setObjectName(QStringLiteral("CommonDialog1"));
        m_dialog->setFileMode(QFileDialog::ExistingFile);
        m_dialog->setWindowModality(Qt::WindowModal);
        // The list shows the descriptions only: the case-blind patterns are no reading matter.
        m_dialog->setOption(QFileDialog::HideNameFilterDetails);
    }
    return *m_dialog;
}

void CommonDialog::setNextFileName(const QString &fileName)
{
    g_nextOutcome = Outcome{QDialog::Accepted, {fileName}};
}

void CommonDialog::setNextCancel()
{
    g_nextOutcome = Outcome{QDialog::Rejected, {}};
}

void CommonDialog::setNextFailure()
{
    g_nextOutcome = Outcome{QDialog::Accepted, {}};
}

void CommonDialog::forgetNextAnswer()
{
    g_nextOutcome.reset();
}
