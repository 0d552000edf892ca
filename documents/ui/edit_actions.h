#pragma once

#include <QList>
#include <QString>

class QAction;
class QKeySequence;
class QUndoStack;
class QWidget;

namespace tessara::documents {

// An action of a grid's context menu whose keys work while the grid has the focus.
QAction* AddGridAction(QWidget* view, const QString& text, const QKeySequence& keys);

// Undo (Ctrl+Z) and Redo (Ctrl+Y) of an editor's steps, the same keys on every platform; returns the two.
QList<QAction*> AddUndoActions(QWidget* window, QUndoStack& undo);

}  // namespace tessara::documents
