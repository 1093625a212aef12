#pragma once

#include <QWidget>

namespace tarvel::ui {

// The small About window: a title line, a credit, the date and a contact.
class AboutWindow : public QWidget {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
};

}  // namespace tarvel::ui
