#include "documents/ui/grid_clipboard.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QStringList>
#include <QUndoStack>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace tessara::documents {

namespace {

QList<QStringList> ParseTable(const QString& text) {
    QStringList lines = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.back().isEmpty()) lines.removeLast();  // the break that ends the last row
    QList<QStringList> table;
    for (const QString& line : lines) table.append(line.split(QLatin1Char('\t')));
    return table;
}

QString Count(int n, const char* one, const char* many) {
    return QString::number(n) + QLatin1Char(' ') + QString::fromLatin1(n == 1 ? one : many);
}

}  // namespace

QString CopyCells(const QAbstractItemModel& model, const QModelIndexList& selected) {
    if (selected.isEmpty()) return {};
    int top = selected.front().row(), bottom = top, left = selected.front().column(), right = left;
    for (const QModelIndex& index : selected) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    // A byte grid can have 196 605 cells selected, so membership is looked up in a map of the rectangle.
    const int width = right - left + 1;
    std::vector<char> chosen(static_cast<size_t>(bottom - top + 1) * static_cast<size_t>(width), 0);
    for (const QModelIndex& index : selected) {
        chosen[static_cast<size_t>(index.row() - top) * static_cast<size_t>(width) +
               static_cast<size_t>(index.column() - left)] = 1;
    }
    QString text;
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) {
            const size_t cell =
                static_cast<size_t>(row - top) * static_cast<size_t>(width) + static_cast<size_t>(column - left);
            if (chosen[cell]) text += model.data(model.index(row, column)).toString();
            if (column < right) text += QLatin1Char('\t');
        }
        text += QLatin1Char('\n');
    }
    return text;
}

PasteOutcome PasteCells(QAbstractItemModel& model, const QModelIndex& start, const QString& text, QUndoStack* undo) {
    PasteOutcome outcome;
    if (!start.isValid() || text.isEmpty()) return outcome;
    const QList<QStringList> table = ParseTable(text);
    const int rows = static_cast<int>(table.size());
    outcome.rowsLeftOut = std::max(0, start.row() + rows - model.rowCount());
    if (undo) undo->beginMacro(QObject::tr("Paste"));
    for (int r = 0; r < rows - outcome.rowsLeftOut; ++r) {
        const QStringList& cells = table[r];
        const int fit = std::min(static_cast<int>(cells.size()), model.columnCount() - start.column());
        outcome.columnsLeftOut = std::max(outcome.columnsLeftOut, static_cast<int>(cells.size()) - fit);
        for (int c = 0; c < fit; ++c) {
            const QModelIndex target = model.index(start.row() + r, start.column() + c);
            if (model.data(target, Qt::EditRole).toString() == cells[c]) continue;
            if (!model.setData(target, cells[c], Qt::EditRole)) ++outcome.cellsRefused;
        }
    }
    if (undo) undo->endMacro();
    return outcome;
}

QString PasteReport(const PasteOutcome& outcome) {
    QStringList parts;
    if (outcome.rowsLeftOut > 0) parts << Count(outcome.rowsLeftOut, "row", "rows");
    if (outcome.columnsLeftOut > 0) parts << Count(outcome.columnsLeftOut, "column", "columns");
    QString report;
    if (!parts.isEmpty()) report = parts.join(QStringLiteral(" and ")) + QStringLiteral(" did not fit in the grid. ");
    if (outcome.cellsRefused > 0) {
        report += Count(outcome.cellsRefused, "cell was", "cells were") +
                  QStringLiteral(" not pasted: \"Select\" takes Y or N, 1 or 0, x or blank. ");
    }
    return report.trimmed();
}

}  // namespace tessara::documents
