#include "ui/read_only_table.h"

#include <QHeaderView>
#include <QTableView>

namespace tessara::ui {

namespace {

constexpr int kRowHeight = 21;
constexpr int kRowsMeasured = 200;

}  // namespace

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
