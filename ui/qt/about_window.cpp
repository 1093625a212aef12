#include "ui/qt/about_window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "ui/control_table.h"
#include "ui/qt/app_identity.h"
#include "ui/qt/drawing_painter.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/twips.h"

namespace tarvel::ui {
namespace {

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
    setWindowTitle(qstr(kAboutTitle));
    // The title alone does not say whose About window a screen reader opened.
    setAccessibleName(qstr(kAboutTitle) + ' ' + qstr(kAppTitle));
    setAccessibleDescription(qstr(kAboutDescription));
    QPalette background = palette();
    background.setColor(QPalette::Window, qColour(kAboutBackground));
    setPalette(background);
    setAutoFillBackground(true);

    QList<QLabel*> labels;
    double scale = 0;
    for (const AboutLabelSpec& spec : aboutLabels()) {
        auto* label = new QLabel(qstr(spec.text), this);
        label->setObjectName(qstr(spec.name));
        QFont font("Verdana");
        font.setPointSizeF(spec.pointSize);
        label->setFont(font);
        label->setWordWrap(spec.centred);
        label->setAlignment(spec.centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        QPalette text = label->palette();
        text.setColor(QPalette::WindowText, qColour(spec.colour));
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
    // A Close button in a strip of its own below the five lines.
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName("closeButton");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    const QSize button = close->sizeHint();
    const int width = toPixels(kAboutClientWidth, scale);
    const int height = toPixels(kAboutClientHeight, scale);
    close->setGeometry((width - button.width()) / 2, height, button.width(), button.height());
    setFixedSize(width, height + button.height() + button.height() / 2);
    close->setFocus();
}

void AboutWindow::placeOver(const QWidget* owner)
{
    if (!owner)
        return;
    QRect place(QPoint(), frameGeometry().size());
    place.moveCenter(owner->frameGeometry().center());
    if (const QScreen* screen = owner->screen()) {
        const QRect available = screen->availableGeometry();
        place.moveLeft(std::clamp(place.left(), available.left(),
                                  std::max(available.left(), available.right() - place.width())));
        place.moveTop(std::clamp(place.top(), available.top(),
                                 std::max(available.top(), available.bottom() - place.height())));
    }
    move(place.topLeft());
}

void AboutWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tarvel::ui
