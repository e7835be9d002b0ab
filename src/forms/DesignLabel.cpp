#include "forms/DesignLabel.h"

#include <QFontInfo>
#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

namespace {

// Qt draws glyphs this large as outlines, and those lose the bold it makes up for a font
// without a bold face, as the stand-in font is.
constexpr int kOutlinedGlyphPixels = 64;

// The glyphs' outlines, filled and thickened by the pen by about what a bold face adds.
void drawThickened(QPainter &painter, const QTextLayout &layout, const QColor &ink, int em)
{
    QPainterPath outlines;
    outlines.setFillRule(Qt::WindingFill);
    for (const QGlyphRun &run : layout.glyphRuns()) {
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i)
            outlines.addPath(run.rawFont().pathForGlyph(glyphs[i]).translated(positions[i]));
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, em / 24.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(ink);
    painter.drawPath(outlines);
}

} // namespace

DesignLabel::DesignLabel(const QString &caption, QWidget *parent) : QLabel(caption, parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

int DesignLabel::lineHeight() const
{
    return QFontInfo(font()).pixelSize();
}

bool DesignLabel::wraps() const
{
    return height() >= 2 * lineHeight();
}

void DesignLabel::paintEvent(QPaintEvent *)
{
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(wraps() ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    QTextLayout layout(text(), font());
    layout.setTextOption(option);
    layout.beginLayout();
    for (int top = 0;; top += lineHeight()) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width());
        line.setPosition(QPointF(0, top));
    }
    layout.endLayout();
    QPainter painter(this);
    const QColor ink = palette().color(foregroundRole());
    if (font().bold() && lineHeight() >= kOutlinedGlyphPixels) {
        drawThickened(painter, layout, ink, lineHeight());
        return;
    }
    painter.setPen(ink);
    layout.draw(&painter, QPointF(0, 0));
}
