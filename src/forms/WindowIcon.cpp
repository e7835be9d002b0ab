#include "forms/WindowIcon.h"

#include <QImageReader>
#include <QPixmap>

QIcon designIcon(const char *name)
{
    QIcon icon;
    for (const int side : {16, 32}) {
        // Read as PNG, as named: left to guess, the reader would ask every image format
        // plugin installed first.
        QImageReader reader(QStringLiteral(":/icons/%1-%2.png").arg(QLatin1String(name)).arg(side),
                            "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}
