#pragma once

#include <QWidget>
#include <string>

#include "plc/address_map.h"

class QComboBox;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QSpinBox;
class QTableView;

namespace tessara::check {

class AddressMapFilter;
class AddressMapModel;

// The "Address map" page of the check window: the rule it rests on, the table filtered by node and by text, the
// PLC start addresses of the two modules and "Export tags...", which saves the map as a PLC tool imports it.
class AddressMapPage : public QWidget {
    Q_OBJECT

public:
    explicit AddressMapPage(QWidget* parent = nullptr);

    // Shows the map of a project; the export dialog opens in its folder. The filters and starts are kept.
    void SetMap(plc::AddressMap map, const std::string& projectDir);
    // Export tags is off while the map shown may be out of date (the project is being checked again).
    void SetExportEnabled(bool enabled);
    // Asks for a file name; its extension chooses the format.
    void ExportTagsClick();

    QTableView* Table() const { return table_; }

signals:
    // Double-click or Enter on a row: the byte editor is to open at that byte.
    void ByteActivated(const plc::AddressMapRow& row);

private:
    QWidget* BuildFilters();
    QWidget* BuildExport();
    void FillNodeFilter();
    void NodeFilterChanged();
    void StartsChanged();
    void RowActivated(const QModelIndex& index);
    void WriteTags(const QString& fileName);

    std::string projectDir_;
    AddressMapModel* model_;
    AddressMapFilter* filter_;
    QComboBox* nodeFilter_ = nullptr;
    QLineEdit* textFilter_ = nullptr;
    QTableView* table_ = nullptr;
    QSpinBox* inputStart_ = nullptr;
    QSpinBox* outputStart_ = nullptr;
    QPushButton* btnExportTags_ = nullptr;
};

}  // namespace tessara::check
