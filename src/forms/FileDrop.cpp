#include "forms/FileDrop.h"

#include <QDir>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

namespace {

// A list of local files, as the file manager drags them.
bool carriesFiles(const QMimeData *data)
{
    const QList<QUrl> urls = data->urls();
    return !urls.isEmpty() && std::ranges::all_of(urls, &QUrl::isLocalFile);
}

// The drag and drop handlers of every path field; they replace the text box's own, which
// would take dropped text.
class PathFieldDrop : public QObject
{
public:
    explicit PathFieldDrop(QLineEdit *field) : QObject(field), m_field(field)
    {
        field->setAcceptDrops(true);
        field->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
            PathField_OLEDragOver(static_cast<QDragMoveEvent *>(event));
            return true;
        case QEvent::Drop:
            PathField_OLEDragDrop(static_cast<QDropEvent *>(event));
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    // Files may only be copied here; whatever else is dragged gets the no-drop cursor.
    static void PathField_OLEDragOver(QDragMoveEvent *event)
    {
        if (carriesFiles(event->mimeData()) && (event->possibleActions() & Qt::CopyAction)) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        } else {
            event->ignore();
        }
    }

    // The first file of the list; the others are ignored.
    void PathField_OLEDragDrop(QDropEvent *event)
    {
        if (!carriesFiles(event->mimeData())) {
            event->ignore();
            return;
        }
        const QUrl first = event->mimeData()->urls().constFirst();
        m_field->setText(QDir::toNativeSeparators(first.toLocalFile()));
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }

    QLineEdit *m_field;
};

} // namespace

void FileDrop::enable(QLineEdit *pathField)
{
    new PathFieldDrop(pathField);
}
