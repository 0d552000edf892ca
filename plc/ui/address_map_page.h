#pragma once

#include <QWidget>
#include <string>

#include "documents/profibus_slots.h"
#include "plc/address_map.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTableView;

namespace tessara::check {

class AddressMapFilter;
class AddressMapModel;
class SlotTableModel;

// What the page shows of a checked project: its map, its PROFIBUS areas and the slots' starts PlcMap.xml keeps.
struct ProjectPlcMap {
    plc::AddressMap map;
    documents::ProfibusAreas areas;
    std::vector<documents::SlotStart> starts;
    std::string startsProblem;  // why PlcMap.xml could not be read: then no address is shown, nor a start taken
};

// The "Address map" page of the check window: the GSD's slots with the PLC start of each (edited in place and
// kept in PlcMap.xml at once), the rule the map rests on, the table filtered by node and by text, and "Export
// tags...", which saves the map as a PLC tool imports it.
class AddressMapPage : public QWidget {
    Q_OBJECT

public:
    explicit AddressMapPage(QWidget* parent = nullptr);

    // Shows the map of a project; the export dialog opens in its folder. The filters are kept.
    void SetMap(ProjectPlcMap project, const std::string& projectDir);
    // Export tags is off while the map shown may be out of date (the project is being checked again).
    void SetExportEnabled(bool enabled);
    // The symbol style chosen; a change asks for the map again (SymbolStyleChanged), named so.
    plc::SymbolStyle SymbolStyle() const;
    // Asks for a file name; its extension chooses the format.
    void ExportTagsClick();

    QTableView* Table() const { return table_; }

signals:
    // Double-click or Enter on a row: the byte editor is to open at that byte.
    void ByteActivated(const plc::AddressMapRow& row);
    void SymbolStyleChanged();

private:
    QWidget* BuildSlots();
    QWidget* BuildFilters();
    QWidget* BuildExport();
    void FillNodeFilter();
    void NodeFilterChanged();
    // A start typed into the slot table: checked against the other slots, saved, then shown.
    bool EditStart(const documents::ProfibusSlot& slot, const QString& text);
    void ShowStarts(std::vector<documents::SlotStart> starts);
    void RowActivated(const QModelIndex& index);
    void WriteTags(const QString& fileName);
    void PlcByteOrderChanged();
    void RecordExport();

    std::string projectDir_;
    documents::ProfibusAreas areas_;
    std::vector<documents::SlotStart> starts_;
    QString startsProblem_;
    AddressMapModel* model_;
    SlotTableModel* slots_;
    AddressMapFilter* filter_;
    QComboBox* nodeFilter_ = nullptr;
    QLineEdit* textFilter_ = nullptr;
    QTableView* table_ = nullptr;
    QTableView* slotTable_ = nullptr;
    QComboBox* symbolStyle_ = nullptr;
    QCheckBox* csvByteOrderMark_ = nullptr;
    QComboBox* plcByteOrder_ = nullptr;
    QCheckBox* swapProgram_ = nullptr;
    QPushButton* btnExportTags_ = nullptr;
};

}  // namespace tessara::check
