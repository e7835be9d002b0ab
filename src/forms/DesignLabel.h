#pragma once

#include <QLabel>

// A label laid out as the design's Japanese fonts lay out text: from the top left, lines
// one em apart (the stand-in font's own line spacing is taller and would push the last line
// of a paragraph out of its box), wrapping only where the box holds two lines or more.
class DesignLabel : public QLabel
{
public:
    DesignLabel(const QString &caption, QWidget *parent);

    // Lines are this far apart.
    int lineHeight() const;
    bool wraps() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
