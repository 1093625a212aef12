// Reaching the real window's controls by name in the window tests.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "ui/qt/browser_lists.h"

namespace tarvel::support {

// The child of that name and kind; a missing one ends the test run, since
// every later step would only report the same absence.
template <typename T> T* find(QObject& parent, const char* name)
{
    T* child = parent.findChild<T*>(name);
    if (!child)
        qFatal("no control %s", name);
    return child;
}

// Clicks the command button of that name as the user does.
inline void click(QObject& window, const char* button)
{
    QTest::mouseClick(find<QPushButton>(window, button), Qt::LeftButton);
}

// Closes every modal message box as soon as it opens and keeps its text;
// a box whose text begins with `leaveOpen` is left for the test.
class MessageCatcher {
public:
    explicit MessageCatcher(const QString& leaveOpen = {})
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this, leaveOpen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && (leaveOpen.isEmpty() || !box->text().startsWith(leaveOpen))) {
                texts << box->text();
                box->accept();
            }
        });
        timer_.start();
    }
    QStringList texts;

private:
    QTimer timer_;
};

// The browser lists fill away from the window's thread: true once the list
// of that name shows its whole folder (waiting a generous while at most).
[[nodiscard]] inline bool listed(QObject& window, const char* name)
{
    auto* list = find<tarvel::ui::FolderListWidget>(window, name);
    return QTest::qWaitFor([list] { return !list->isListing(); }, 10000);
}

}  // namespace tarvel::support
