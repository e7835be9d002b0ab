// Run at build time: writes a C++ header holding the window icons' bitmaps as premultiplied
// ARGB pixels, the form QPixmap takes them in. The wizard then shows its icons without
// decoding PNG files at start-up, nor asking the image format plugins whether one of them
// reads PNG better than Qt itself.
//
// Usage: icon-pixels OUTPUT NAME-SIDE.png...
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTextStream>

#include <cstdio>

namespace {

// "hand-right-16.png" gives the array name "hand_right_16".
QString arrayName(const QString &fileName)
{
    return QFileInfo(fileName).completeBaseName().replace(u'-', u'_');
}

void writePixels(QTextStream &out, const QString &fileName, const QImage &image)
{
    out << "inline constexpr std::uint32_t " << arrayName(fileName) << "[] = {";
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        out << "\n   ";
        for (int x = 0; x < image.width(); ++x)
            out << QStringLiteral(" 0x%1,").arg(line[x], 8, 16, QLatin1Char('0'));
    }
    out << "\n};\n\n";
}

// The name without its side: "hand-right-16.png" gives "hand-right".
QString iconName(const QString &fileName)
{
    const QString base = QFileInfo(fileName).completeBaseName();
    return base.left(base.lastIndexOf(u'-'));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: icon-pixels OUTPUT NAME-SIDE.png...\n");
        return 2;
    }
    QString table;
    QString arrays;
    QTextStream out(&arrays);
    for (int i = 2; i < argc; ++i) {
        const QString fileName = QFile::decodeName(argv[i]);
        const QImage image = QImage(fileName).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (image.isNull() || image.width() != image.height()) {
            std::fprintf(stderr, "icon-pixels: %s is no square image\n", argv[i]);
            return 1;
        }
        writePixels(out, fileName, image);
        table += QStringLiteral("    {\"%1\", %2, %3},\n")
                     .arg(iconName(fileName))
                     .arg(image.width())
                     .arg(arrayName(fileName));
    }
    QFile header(QFile::decodeName(argv[1]));
    if (!header.open(QIODevice::WriteOnly | QIODevice::Text)) {
        std::fprintf(stderr, "icon-pixels: cannot write %s\n", argv[1]);
        return 1;
    }
    QTextStream(&header)
        << "// The window icons' bitmaps, written at build time by icon-pixels from\n"
           "// src/forms/icons: premultiplied ARGB, one row after another.\n"
           "#pragma once\n\n#include <cstdint>\n\nnamespace IconPixels {\n\n"
        << arrays
        << "struct Bitmap\n{\n    const char *name;\n    int side;\n"
           "    const std::uint32_t *pixels;\n};\n\n"
           "inline constexpr Bitmap kBitmaps[] = {\n"
        << table << "};\n\n} // namespace IconPixels\n";
    return 0;
}
