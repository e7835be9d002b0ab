#include "forms/DesignLabel.h"

#include <QFontInfo>
#include <QPainter>
#include <QTextLayout>

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
    painter.setPen(palette().color(foregroundRole()));
    layout.draw(&painter, QPointF(0, 0));
}
