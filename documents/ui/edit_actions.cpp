#include "documents/ui/edit_actions.h"

#include <QAction>
#include <QUndoStack>
#include <QWidget>

namespace tessara::documents {

QAction* AddGridAction(QWidget* view, const QString& text, const QKeySequence& keys) {
    auto* action = new QAction(text, view);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    view->addAction(action);
    return action;
}

QList<QAction*> AddUndoActions(QWidget* window, QUndoStack& undo) {
    QAction* back = undo.createUndoAction(window, QObject::tr("Undo"));
    back->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* forward = undo.createRedoAction(window, QObject::tr("Redo"));
    forward->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    window->addActions({back, forward});
    return {back, forward};
}

}  // namespace tessara::documents
