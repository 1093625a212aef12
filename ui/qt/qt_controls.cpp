#include "ui/qt/qt_controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>

#include "ui/control_table.h"
#include "ui/qt/about_window.h"
#include "ui/qt/line_list.h"
#include "ui/qt/qt_text.h"

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
    label_->setText(QString::fromStdString(sentence));
    if (shown_)
        shown_(label_->text());
}

void QtMessageBox::show(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, qstr(kAppTitle), QString::fromStdString(text),
                    QMessageBox::Ok, parent_);
    box.setObjectName("messageBox");
    // Read out with the title when the box opens, not only as a label in it.
    box.setAccessibleDescription(box.text());
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
