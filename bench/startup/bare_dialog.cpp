// The floor of the start-up benchmark: a plain QDialog of page 1's size holding page 1's
// controls (kind, caption, place and font, from dump-forms' description of the window,
// given as a file), and nothing of the wizard.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kTwipsPerPixel = 15;

QWidget *makeControl(const QString &type, const QString &caption, QWidget *parent)
{
    if (type == QLatin1String("QPushButton"))
        return new QPushButton(caption, parent);
    if (type == QLatin1String("QLineEdit"))
        return new QLineEdit(caption, parent);
    if (type == QLatin1String("QComboBox"))
        return new QComboBox(parent);
    return new QLabel(caption, parent);
}

void addControl(const QJsonObject &entry, QWidget *parent)
{
    QWidget *control = makeControl(entry["type"].toString(), entry["caption"].toString(), parent);
    control->setGeometry(
        entry["left"].toInt() / kTwipsPerPixel, entry["top"].toInt() / kTwipsPerPixel,
        entry["width"].toInt() / kTwipsPerPixel, entry["height"].toInt() / kTwipsPerPixel);
    const QJsonObject font = entry["font"].toObject();
    QFont controlFont(font["family"].toString());
    controlFont.setPointSizeF(font["size"].toDouble());
    controlFont.setBold(font["bold"].toBool());
    control->setFont(controlFont);
    control->setVisible(entry["visible"].toBool());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QFile description(app.arguments().value(1));
    if (!description.open(QIODevice::ReadOnly))
        qFatal("usage: bare-dialog <window description as JSON>");
    const QJsonObject window = QJsonDocument::fromJson(description.readAll()).object();
    QDialog dialog;
    dialog.setWindowTitle(window["caption"].toString());
    dialog.setFixedSize(window["clientWidth"].toInt() / kTwipsPerPixel,
                        window["clientHeight"].toInt() / kTwipsPerPixel);
    for (const QJsonValue control : window["controls"].toArray())
        addControl(control.toObject(), &dialog);
    dialog.show();
    return app.exec();
}
