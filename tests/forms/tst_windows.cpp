// The windows as the user sees them: frames, sizes, icons, tab order and first focus,
// fonts, buttons that Enter cannot press, captions that fit their boxes.

#include "forms/DesignLabel.h"
#include "support/WizardRun.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QWindow>

Q_DECLARE_METATYPE(FormId)

namespace {

const FormId kAll[] = {FormId::Form1, FormId::Form2, FormId::Form3, FormId::Form4, FormId::Form5};

// The controls Tab walks through, from the first focused one on.
QStringList tabWalk(FormBase &window)
{
    QStringList walk;
    QWidget *first = window.focusWidget();
    QWidget *at = first;
    do {
        if (at->parentWidget() == &window && (at->focusPolicy() & Qt::TabFocus))
            walk.append(at->objectName());
        at = at->nextInFocusChain();
    } while (at && at != first);
    return walk;
}

QStringList numbered(const QString &prefix, int first, int last)
{
    QStringList names;
    for (int n = first; n <= last; ++n)
        names.append(prefix + QString::number(n));
    return names;
}

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    void init() { failOnWarnings(); }
    void cleanup() { QVERIFY(noWindowLeft()); }

    void frame_data()
    {
        QTest::addColumn<FormId>("form");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<bool>("sizable");
        QTest::newRow("Form1") << FormId::Form1 << "HELP" << QSize(318, 342) << true;
        QTest::newRow("Form2") << FormId::Form2 << "KORVANE作成ウィザード PAGE1" << QSize(502, 301)
                               << false;
        QTest::newRow("Form3") << FormId::Form3 << "KORVANE作成ウィザード PAGE2" << QSize(518, 309)
                               << false;
        QTest::newRow("Form4") << FormId::Form4 << "終了" << QSize(397, 306) << true;
        QTest::newRow("Form5") << FormId::Form5 << "設定" << QSize(312, 155) << false;
    }

    void frame()
    {
        QFETCH(FormId, form);
        QFETCH(QString, caption);
        QFETCH(QSize, client);
        QFETCH(bool, sizable);
        Forms forms;
        forms.show(form);
        FormBase &window = forms.window(form);
        QCOMPARE(window.windowTitle(), caption);
        QCOMPARE(window.size(), client);
        QCOMPARE(window.minimumSize() != window.maximumSize(), sizable);
        const Qt::WindowFlags flags = window.windowFlags();
        QCOMPARE(bool(flags & Qt::WindowMinimizeButtonHint), sizable);
        QCOMPARE(bool(flags & Qt::WindowMaximizeButtonHint), sizable);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!window.windowIcon().isNull());
        QVERIFY(!window.windowIcon().pixmap(32).isNull());
    }

    void tabOrderAndFirstFocus_data()
    {
        QTest::addColumn<FormId>("form");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("Form1") << FormId::Form1 << QStringList{"Command1"};
        QTest::newRow("Form2") << FormId::Form2
                               << numbered("Text", 1, 14) + numbered("Command", 1, 11) +
                                      QStringList{"Drive1", "Command12"};
        QTest::newRow("Form3") << FormId::Form3
                               << QStringList{"Text1", "Text2", "Command1"} +
                                      numbered("Text", 3, 20) + numbered("Command", 2, 12) +
                                      QStringList{"Check1"};
        QTest::newRow("Form4") << FormId::Form4 << QStringList{"Command1"};
        QTest::newRow("Form5") << FormId::Form5
                               << QStringList{"Text1", "Text2", "Command1", "Command2"};
    }

    void tabOrderAndFirstFocus()
    {
        QFETCH(FormId, form);
        QFETCH(QStringList, order);
        Forms forms;
        forms.show(form);
        QCOMPARE(forms.window(form).focusWidget()->objectName(), order.first());
        QCOMPARE(tabWalk(forms.window(form)), order);
    }

    void movedWindowKeepsItsPlace_data()
    {
        QTest::addColumn<FormId>("form");
        QTest::newRow("page 1") << FormId::Form2;
        QTest::newRow("page 2") << FormId::Form3;
        QTest::newRow("comment dialog") << FormId::Form5;
    }

    // Moved by the user, through the window system rather than by the program, a window comes
    // back to where it was left when it is shown again.
    void movedWindowKeepsItsPlace()
    {
        QFETCH(FormId, form);
        Forms forms;
        forms.show(form);
        FormBase &window = forms.window(form);
        const QPoint moved = window.pos() + QPoint(-123, 45);
        window.windowHandle()->setFramePosition(moved);
        QTRY_COMPARE(window.pos(), moved);
        forms.hide(form);
        forms.show(form);
        QCOMPARE(window.pos(), moved);
    }

    void noButtonIsPressedByEnterOrEsc()
    {
        Forms forms;
        for (FormId form : kAll) {
            for (const QPushButton *button : forms.window(form).findChildren<QPushButton *>()) {
                QVERIFY2(!button->isDefault() && !button->autoDefault(),
                         qPrintable(button->objectName()));
            }
        }
    }

    void designFonts_data()
    {
        QTest::addColumn<FormId>("form");
        QTest::addColumn<QString>("control");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::newRow("page 1 heading") << FormId::Form2 << "Label1" << 12.0 << true;
        QTest::newRow("page 1 mark") << FormId::Form2 << "Label6" << 11.25 << true;
        QTest::newRow("page 2 mark") << FormId::Form3 << "Label3" << 12.0 << true;
        QTest::newRow("page 2 hint") << FormId::Form3 << "Label4" << 9.75 << true;
        for (const char *label : {"Label1", "Label2", "Label3", "Label4", "Label5"})
            QTest::addRow("help %s", label) << FormId::Form1 << label << 9.75 << false;
        QTest::newRow("閉じる") << FormId::Form4 << "Command1" << 36.0 << false;
        QTest::newRow("お疲れさまでした") << FormId::Form4 << "Label3" << 27.75 << false;
        QTest::newRow("終了！") << FormId::Form4 << "Label1" << 48.0 << true;
    }

    // The design's font, drawn with the installed Japanese font that stands in for it.
    void designFonts()
    {
        QFETCH(FormId, form);
        QFETCH(QString, control);
        QFETCH(double, points);
        QFETCH(bool, bold);
        Forms forms;
        const QFont font = find<QWidget>(forms, form, qPrintable(control))->font();
        QCOMPARE(font.families().value(0), "ＭＳ Ｐゴシック");
        QCOMPARE(font.pointSizeF(), points);
        QCOMPARE(font.bold(), bold);
        QCOMPARE(QFontInfo(font).family(), "IPAPGothic");
    }

    // 48 pt is drawn as outlines, where the stand-in font's made-up bold would get lost.
    void largeBoldTextIsDrawnBold()
    {
        Forms forms;
        auto *finished = find<QWidget>(forms, FormId::Form4, "Label1");
        const int bold = ink(finished->grab().toImage());
        QFont regular = finished->font();
        regular.setBold(false);
        finished->setFont(regular);
        const int plain = ink(finished->grab().toImage());
        QVERIFY2(bold > plain * 1.3, qPrintable(QStringLiteral("%1 vs %2").arg(bold).arg(plain)));
    }

    void captionsFitTheirBoxes_data()
    {
        QTest::addColumn<FormId>("form");
        for (FormId form : kAll)
            QTest::addRow("Form%d", int(form) + 1) << form;
    }

    void captionsFitTheirBoxes()
    {
        QFETCH(FormId, form);
        Forms forms;
        for (QWidget *control : forms.window(form).findChildren<QWidget *>()) {
            const QString caption = control->property("text").toString();
            // Page 1's Label5 holds the output path and is never shown; its drive list shows
            // each folder as much as fits, and whole as its tip.
            const bool hidden = form == FormId::Form2 && control->objectName() == "Label5";
            if (caption.isEmpty() || hidden || qobject_cast<QComboBox *>(control))
                continue;
            const QFontMetrics metrics(control->font());
            QVERIFY2(QFontInfo(control->font()).pixelSize() <= control->height(),
                     qPrintable(control->objectName()));
            if (auto *label = dynamic_cast<DesignLabel *>(control)) {
                QVERIFY2(!clipped(label), qPrintable(control->objectName()));
                continue;
            }
            // Room for the button's frame, or the check box's box.
            const int decoration = qobject_cast<QCheckBox *>(control) ? 18 : 6;
            QVERIFY2(metrics.horizontalAdvance(caption) + decoration <= control->width(),
                     qPrintable(control->objectName()));
        }
    }

private:
    // How dark the picture is, in pixels of full ink.
    static int ink(const QImage &image)
    {
        qint64 total = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                total += 255 - qGray(image.pixel(x, y));
        }
        return int(total / 255);
    }

    // Whether the label, given more room, shows text outside its own box: below it for a
    // paragraph, to its right for a single line.
    static bool clipped(DesignLabel *label)
    {
        const QSize box = label->size();
        label->resize(box + (label->wraps() ? QSize(0, 100) : QSize(100, 0)));
        const QImage image = label->grab().toImage();
        label->resize(box);
        const QRgb background = label->palette().color(QPalette::Window).rgb();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const bool outside = x >= box.width() || y >= box.height();
                if (outside && image.pixel(x, y) != background)
                    return true;
            }
        }
        return false;
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
