#include "ui/qt/about_window.h"

#include <QLabel>

#include "ui/control_table.h"
#include "ui/qt/app_identity.h"
#include "ui/qt/twips.h"

namespace tarvel::ui {
namespace {

QColor fromColourValue(unsigned value)
{
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

// The version goes in the gap between the title and the credit line, centred
// under the title, so that the five fixed lines keep their places and texts.
void addVersionLabel(QWidget* window, double scale)
{
    auto* version = new QLabel(QStringLiteral("Version ") + applicationVersion(), window);
    version->setObjectName("Label_Version");
    QFont font("Verdana");
    font.setPointSizeF(8.25);
    version->setFont(font);
    version->setAlignment(Qt::AlignCenter);
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    version->setGeometry(toPixels({240, 855, 3015, 225}, scale));
}

}  // namespace

AboutWindow::AboutWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("Form_About");
    setWindowTitle(QString::fromUtf8(kAboutTitle.data(), kAboutTitle.size()));
    QPalette background = palette();
    background.setColor(QPalette::Window, fromColourValue(kAboutBackground));
    setPalette(background);
    setAutoFillBackground(true);

    QList<QLabel*> labels;
    double scale = 0;
    for (const AboutLabelSpec& spec : aboutLabels()) {
        auto* label = new QLabel(QString::fromUtf8(spec.text.data(), spec.text.size()), this);
        label->setObjectName(QString::fromUtf8(spec.name.data(), spec.name.size()));
        QFont font("Verdana");
        font.setPointSizeF(spec.pointSize);
        label->setFont(font);
        label->setWordWrap(spec.centred);
        label->setAlignment(spec.centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        QPalette text = label->palette();
        text.setColor(QPalette::WindowText, fromColourValue(spec.colour));
        label->setPalette(text);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        const QFontMetrics metrics(font);
        const int needed = spec.centred ? metrics.horizontalAdvance(label->text()) / 2
                                        : metrics.horizontalAdvance(label->text());
        scale = std::max(scale, pixelsPerTwipFor(needed + 4, spec.width));
        labels.append(label);
    }
    scale = std::max(scale, kMinPixelsPerTwip);
    int index = 0;
    for (const AboutLabelSpec& spec : aboutLabels())
        labels[index++]->setGeometry(
            toPixels({spec.left, spec.top, spec.width, spec.height}, scale));
    addVersionLabel(this, scale);
    setFixedSize(toPixels(kAboutClientWidth, scale), toPixels(kAboutClientHeight, scale));
}

}  // namespace tarvel::ui
