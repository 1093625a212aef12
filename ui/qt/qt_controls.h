// The toolkit operations over Qt widgets.
#pragma once

#include <QPointer>
#include <QString>

#include <functional>

#include "ui/toolkit.h"

class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace tarvel::ui {

class AboutWindow;
class LineList;

class QtTextBox : public TextBox {
public:
    explicit QtTextBox(QLineEdit* edit) : edit_(edit) {}
    std::string text() const override;
    void setText(const std::string& text) override;

private:
    QLineEdit* edit_;
};

class QtOptionButton : public OptionButton {
public:
    explicit QtOptionButton(QRadioButton* button) : button_(button) {}
    bool isSelected() const override;

private:
    QRadioButton* button_;
};

class QtFrame : public Frame {
public:
    explicit QtFrame(QWidget* frame) : frame_(frame) {}
    void setVisible(bool visible) override;

private:
    QWidget* frame_;
};

class QtListBox : public ListBox {
public:
    explicit QtListBox(LineList* list) : list_(list) {}
    void clear() override;
    void addLine(std::string_view line) override;
    void showLastLine() override;

private:
    LineList* list_;
};

class StatusSentence;

// The command's sentence, kept in a label of the status bar so that a
// passing readout (QStatusBar::showMessage) can cover it and clearMessage()
// brings it back.
class QtStatusLine : public StatusLine {
public:
    // amend: what the window adds to a command's sentence (may be empty);
    // shown: told every sentence after the label shows it.
    explicit QtStatusLine(StatusSentence* label, std::function<QString()> amend = {},
                          std::function<void(const QString&)> shown = {})
        : label_(label), amend_(std::move(amend)), shown_(std::move(shown))
    {
    }
    void show(const std::string& sentence) override;

private:
    StatusSentence* label_;
    std::function<QString()> amend_;
    std::function<void(const QString&)> shown_;
};

class QtMessageBox : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent) : parent_(parent) {}
    void show(const std::string& text, const std::string& informative = {}) override;

private:
    QWidget* parent_;
};

// Opens the About window, or brings the open one forward.
class AboutLauncher : public SecondWindow {
public:
    // A new About window opens centred over `owner`.
    explicit AboutLauncher(const QWidget* owner = nullptr) : owner_(owner) {}
    void show() override;
    AboutWindow* window() const { return window_; }

private:
    const QWidget* owner_;
    QPointer<AboutWindow> window_;
};

}  // namespace tarvel::ui
