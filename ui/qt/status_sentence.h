// The status line's sentence: wrapped to as many lines as it needs, up to
// three, the status bar growing with it; beyond three lines the third ends
// in "…" and the whole sentence is the tooltip.
#pragma once

#include <QFont>
#include <QHash>
#include <QLabel>
#include <QStringList>

namespace tarvel::ui {

class StatusSentence : public QLabel {
    Q_OBJECT
public:
    static constexpr int kMaxLines = 3;
    explicit StatusSentence(QWidget* parent = nullptr);
    // Shows the sentence (text() keeps all of it).
    void setSentence(const QString& sentence);
    // At least this many lines high, however short the sentence: a window
    // whose layout must not move with each sentence holds them all.
    void holdLines(int lines);
    // Whether the sentence is cut at the present width.
    bool shortened() const;
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The lines the sentence takes at a width, the last one elided when
    // there are more than kMaxLines.
    QStringList linesAt(int width) const;
    int linesNeeded(int width) const;
    // Breaking the sentence into lines shapes all its text, and the layout
    // asks for the lines several times a change: the lines are kept per
    // width until the sentence or the font changes.
    const QStringList& brokenAt(int width) const;
    void fit();

    struct BrokenLines {
        QString text;
        QFont font;
        QHash<int, QStringList> byWidth;
    };
    mutable BrokenLines broken_;  // for text() in font()
    int linesHeld_ = 1;
};

}  // namespace tarvel::ui
