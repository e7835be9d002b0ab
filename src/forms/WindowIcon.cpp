#include "forms/WindowIcon.h"

#include "icon_pixels.h"

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <cstring>

QIcon designIcon(const char *name)
{
    // Made once: the application and both pages show the same icon.
    static QHash<QByteArray, QIcon> made;
    QIcon &icon = made[name];
    if (icon.isNull()) {
        for (const IconPixels::Bitmap &bitmap : IconPixels::kBitmaps) {
            if (std::strcmp(bitmap.name, name) != 0)
                continue;
            // The image only points at the pixels compiled in; the pixmap is made from them.
            const QImage pixels(reinterpret_cast<const uchar *>(bitmap.pixels), bitmap.side,
                                bitmap.side, QImage::Format_ARGB32_Premultiplied);
            icon.addPixmap(QPixmap::fromImage(pixels));
        }
    }
    return icon;
}
