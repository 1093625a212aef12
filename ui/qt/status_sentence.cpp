#include "ui/qt/status_sentence.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace tarvel::ui {
namespace {

// The text of each line the layout breaks the text into at width.
QStringList breakLines(const QString& text, const QFont& font, int width)
{
    QStringList lines;
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(1, width));
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

}  // namespace

StatusSentence::StatusSentence(QWidget* parent) : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void StatusSentence::setSentence(const QString& sentence)
{
    setText(sentence);
    fit();
}

void StatusSentence::holdLines(int lines)
{
    linesHeld_ = std::clamp(lines, 1, kMaxLines);
    fit();
}

const QStringList& StatusSentence::brokenAt(int width) const
{
    // A resize asks at width after width: only the last few are kept.
    constexpr qsizetype kWidthsKept = 8;
    if (broken_.text != text() || broken_.font != font() ||
        broken_.byWidth.size() >= kWidthsKept) {
        broken_.text = text();
        broken_.font = font();
        broken_.byWidth.clear();
    }
    auto known = broken_.byWidth.find(width);
    if (known == broken_.byWidth.end())
        known = broken_.byWidth.insert(width, breakLines(text(), font(), width));
    return *known;
}

int StatusSentence::linesNeeded(int width) const
{
    return static_cast<int>(brokenAt(width).size());
}

QStringList StatusSentence::linesAt(int width) const
{
    QStringList lines = brokenAt(width);
    if (lines.size() <= kMaxLines)
        return lines;
    QString rest;
    for (qsizetype i = kMaxLines - 1; i < lines.size(); ++i)
        rest += lines[i];
    lines = lines.mid(0, kMaxLines - 1);
    lines << fontMetrics().elidedText(rest.simplified(), Qt::ElideRight, width);
    return lines;
}

bool StatusSentence::shortened() const
{
    return linesNeeded(contentsRect().width()) > kMaxLines;
}

int StatusSentence::heightForWidth(int width) const
{
    const int lines =
        std::clamp(std::max(linesNeeded(width - 2 * margin()), linesHeld_), 1, kMaxLines);
    const QMargins m = contentsMargins();
    return lines * fontMetrics().lineSpacing() + m.top() + m.bottom() + 2 * margin();
}

QSize StatusSentence::sizeHint() const
{
    return QSize(QLabel::sizeHint().width(), heightForWidth(std::max(width(), 1)));
}

QSize StatusSentence::minimumSizeHint() const
{
    return QSize(0, heightForWidth(std::max(width(), 1)));
}

void StatusSentence::fit()
{
    setToolTip(shortened() ? text() : QString());
    setMinimumHeight(heightForWidth(width()));
    updateGeometry();
    update();
}

void StatusSentence::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    if (minimumHeight() != heightForWidth(width()))
        fit();
    else
        setToolTip(shortened() ? text() : QString());
}

void StatusSentence::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    int top = area.top();
    for (const QString& line : linesAt(area.width())) {
        painter.drawText(QRect(area.left(), top, area.width(), fontMetrics().lineSpacing()),
                         Qt::AlignLeft | Qt::AlignVCenter, line);
        top += fontMetrics().lineSpacing();
    }
}

}  // namespace tarvel::ui
