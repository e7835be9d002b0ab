#include "forms/WindowIcon.h"

#include <QHash>
#include <QImageReader>
#include <QPixmap>

namespace {

QPixmap bitmap(const QString &fileName)
{
    QImageReader reader(fileName, "png");
    // Qt's own PNG reader; left to guess, the reader would load every image format plugin
    // installed to ask it first.
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

QIcon designIcon(const char *name)
{
    // Read once: the application and both pages show the same icon.
    static QHash<QByteArray, QIcon> read;
    QIcon &icon = read[name];
    if (icon.isNull()) {
        for (const int side : {16, 32})
            icon.addPixmap(
                bitmap(QStringLiteral(":/icons/%1-%2.png").arg(QLatin1String(name)).arg(side)));
    }
    return icon;
}
