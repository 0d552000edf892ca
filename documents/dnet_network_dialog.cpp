#include "documents/dnet_network_dialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <exception>

#include "app/message_display.h"
#include "app/window_style.h"
#include "app/workspace.h"
#include "documents/dnet_table_model.h"
#include "documents/text_grid_view.h"

namespace {

constexpr int kRowHeight = 21;
constexpr int kButtonStripHeight = 39;
constexpr int kColumnWidths[DNetTableModel::ColumnCount] = {45, 65, 75, 75, 255};

QPushButton* AddButton(QWidget* strip, const char* name, const QString& caption, int left) {
    auto* button = new QPushButton(caption, strip);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, 10, 93, 23);
    return button;
}

}  // namespace

TFDNet::TFDNet(const Workspace& ws, QWidget* parent)
    : QDialog(parent), ws_(ws), model_(new DNetTableModel(this)), grid_(new TextGridView(this)) {
    setWindowTitle(QStringLiteral("DeviceNet Network"));
    resize(625, 554);
    ApplyTessaraStyle(this);
    BuildGrid();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(grid_);
    layout->addWidget(BuildButtonStrip());
    connect(bitbtn1, &QPushButton::clicked, this, &TFDNet::bitbtn1Click);
    connect(bitbtn2, &QPushButton::clicked, this, &TFDNet::reject);
}

void TFDNet::BuildGrid() {
    grid_->setObjectName(QStringLiteral("StringGrid1"));
    grid_->setAccessibleName(QStringLiteral("DeviceNet nodes"));
    grid_->setModel(model_);
    grid_->setStyleSheet(QStringLiteral("QTableView { gridline-color: silver; }"));
    grid_->verticalHeader()->hide();  // the "N" column numbers the rows
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    QHeaderView* header = grid_->horizontalHeader();
    header->setFixedHeight(kRowHeight);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setHighlightSections(false);
    for (int column = 0; column < DNetTableModel::ColumnCount; ++column) {
        grid_->setColumnWidth(column, kColumnWidths[column]);
    }
}

QWidget* TFDNet::BuildButtonStrip() {
    auto* strip = new QWidget(this);
    strip->setFixedHeight(kButtonStripHeight);
    bitbtn1 = AddButton(strip, "bitbtn1", QStringLiteral("OK"), 12);
    bitbtn2 = AddButton(strip, "bitbtn2", QStringLiteral("Cancel"), 116);
    return strip;
}

void TFDNet::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window system re-shows a restored window; only a showing by the program reloads the document.
    if (!event->spontaneous()) FormShow();
}

void TFDNet::FormShow() {
    DNetRows rows;
    QString failure;
    try {
        LoadDNetNetwork(ws_.DNetNetFile, rows);
    } catch (const std::exception& e) {
        failure = QString::fromStdString(e.what());
    }
    model_->SetRows(rows);
    grid_->setCurrentIndex(model_->index(0, DNetTableModel::ColId));
    if (!failure.isEmpty()) Messages().ShowUnhandled(this, failure);
}

bool TFDNet::CheckRows() {
    const std::optional<std::string> failure = ::CheckRows(model_->Rows());
    if (failure) Messages().ShowError(this, QString::fromStdString(*failure));
    return !failure;
}

void TFDNet::bitbtn1Click() {
    if (!CheckRows()) return;
    try {
        SaveDNetNetwork(XML1, ws_.DNetNetFile, model_->Rows());
    } catch (const std::exception& e) {
        Messages().ShowUnhandled(this, QString::fromStdString(e.what()));
        return;
    }
    accept();
}
