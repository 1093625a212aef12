#pragma once

#include <QWidget>

namespace tarvel::ui {

// The small About window: a title line, a credit, the date and a contact.
class AboutWindow : public QWidget {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
    // Centres the window on another one, kept on its screen.
    void placeOver(const QWidget* owner);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace tarvel::ui
