#pragma once

#include <QAbstractTableModel>
#include <functional>

#include "documents/profibus_slots.h"

namespace tessara::check {

// The GSD's slots of a project, one row each: its number, direction, size and the PLC address of its module's
// first byte. The start is edited in place; a slot whose start the user has not given follows the slot before
// it and shows so in grey.
class SlotTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { ColSlot, ColDirection, ColSize, ColStart, ColumnCount };

    // Takes the text typed as a slot's start ("" to make it follow again); false leaves the slot as it was.
    using StartEditor = std::function<bool(const documents::ProfibusSlot& slot, const QString& text)>;

    using QAbstractTableModel::QAbstractTableModel;

    void SetStartEditor(StartEditor editor) { editStart_ = std::move(editor); }
    void SetLayout(const documents::ProfibusLayout& layout);
    // Without a layout that can be trusted (PlcMap.xml unreadable) no start is shown or taken.
    void SetEditable(bool editable);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVariant StartData(const documents::ProfibusSlot& slot, int role) const;

    std::vector<documents::ProfibusSlot> slots_;
    StartEditor editStart_;
    bool editable_ = true;
};

}  // namespace tessara::check
