#include "ui/qt/list_copy.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QKeyEvent>

#include <algorithm>

namespace tarvel::ui {
namespace {

QString lineOf(const QAbstractItemView* view, int row)
{
    return view->model()->index(row, 0).data(Qt::DisplayRole).toString() + '\n';
}

// The view copies only its current line on Ctrl+C, and it claims the key
// before any shortcut sees it: the key is taken from it first.
class CopyKeyFilter : public QObject {
public:
    CopyKeyFilter(QAbstractItemView* view, QAction* copy) : QObject(view), copy_(copy) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
            copy_->trigger();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QAction* copy_;
};

}  // namespace

QString selectedLines(const QAbstractItemView* view)
{
    QModelIndexList rows = view->selectionModel()->selectedIndexes();
    // Selection order is the order of the clicks; the list's order is wanted.
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QString text;
    int previous = -1;
    for (const QModelIndex& index : rows) {
        if (index.row() == previous)
            continue;
        previous = index.row();
        text += lineOf(view, index.row());
    }
    return text;
}

QString allLines(const QAbstractItemView* view)
{
    QString text;
    const int count = view->model()->rowCount();
    for (int row = 0; row < count; ++row)
        text += lineOf(view, row);
    return text;
}

void addListCopy(QAbstractItemView* view, std::function<void(const QString&)> copied)
{
    const auto copyLines = [copied](const QString& text) {
        QApplication::clipboard()->setText(text);
        const auto count = text.count('\n');
        if (copied)
            copied(QObject::tr("Copied %1 %2.")
                       .arg(count)
                       .arg(count == 1 ? QObject::tr("line") : QObject::tr("lines")));
    };
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* copy = new QAction(QObject::tr("Copy"), view);
    copy->setObjectName("copySelectionAction");
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(copy, &QAction::triggered, view,
                     [view, copyLines] { copyLines(selectedLines(view)); });
    auto* copyAll = new QAction(QObject::tr("Copy all"), view);
    copyAll->setObjectName("copyListAction");
    QObject::connect(copyAll, &QAction::triggered, view,
                     [view, copyLines] { copyLines(allLines(view)); });
    view->addAction(copy);
    view->addAction(copyAll);
    view->installEventFilter(new CopyKeyFilter(view, copy));
}

}  // namespace tarvel::ui
