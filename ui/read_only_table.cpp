#include "ui/read_only_table.h"

#include <QHeaderView>
#include <QString>
#include <QTableView>

namespace tessara::ui {

namespace {

constexpr int kRowHeight = 21;
constexpr int kRowsMeasured = 200;
constexpr qsizetype kLineLength = 400;
constexpr qsizetype kToolTipLength = 3000;

QString Cut(const QString& text, qsizetype length) {
    if (text.size() <= length) return text;
    if (text.at(length - 1).isHighSurrogate()) --length;  // never half a character
    return text.left(length) + QStringLiteral("...");
}

}  // namespace

QString CellLine(const QString& text) {
    return Cut(text, kLineLength);
}

QString CellToolTip(const QString& text) {
    // A rich-text tip wraps its lines; a plain one runs off the screen.
    return QStringLiteral("<p>") + Cut(text, kToolTipLength).toHtmlEscaped() + QStringLiteral("</p>");
}

QTableView* MakeReadOnlyTable(const char* name, const QString& accessibleName, QAbstractItemModel* model,
                              QWidget* parent) {
    auto* table = new QTableView(parent);
    table->setObjectName(QLatin1String(name));
    table->setAccessibleName(accessibleName);
    table->setModel(model);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setStyleSheet(QStringLiteral("QTableView { gridline-color: silver; }"));
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setHighlightSections(false);
    table->horizontalHeader()->setResizeContentsPrecision(kRowsMeasured);
    return table;
}

}  // namespace tessara::ui
