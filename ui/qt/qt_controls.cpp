#include "ui/qt/qt_controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>

#include "ui/control_table.h"
#include "ui/qt/about_window.h"
#include "ui/qt/line_list.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/status_sentence.h"

namespace tarvel::ui {

std::string QtTextBox::text() const
{
    return edit_->text().toStdString();
}

void QtTextBox::setText(const std::string& text)
{
    edit_->setText(QString::fromStdString(text));
}

bool QtOptionButton::isSelected() const
{
    return button_->isChecked();
}

void QtFrame::setVisible(bool visible)
{
    frame_->setVisible(visible);
}

void QtListBox::clear()
{
    list_->clearLines();
}

void QtListBox::addLine(std::string_view line)
{
    list_->appendLine(line);
}

void QtListBox::showLastLine()
{
    // The newest lines are the ones the user asked for.
    list_->showLastLine();
}

void QtStatusLine::show(const std::string& sentence)
{
    QString text = QString::fromStdString(sentence);
    if (amend_)
        if (const QString more = amend_(); !more.isEmpty())
            text += ' ' + more;
    label_->setSentence(text);
    if (shown_)
        shown_(label_->text());
}

void QtMessageBox::show(const std::string& text, const std::string& informative)
{
    QMessageBox box(QMessageBox::NoIcon, qstr(kAppTitle), QString::fromStdString(text),
                    QMessageBox::Ok, parent_);
    box.setObjectName("messageBox");
    box.setInformativeText(qstr(informative));
    // Read out with the title when the box opens, not only as a label in it.
    box.setAccessibleDescription(informative.empty() ? box.text()
                                                     : box.text() + ' ' + qstr(informative));
    box.exec();
}

void AboutLauncher::show()
{
    if (!window_) {
        window_ = new AboutWindow;
        window_->setAttribute(Qt::WA_DeleteOnClose);
        window_->placeOver(owner_);
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace tarvel::ui
