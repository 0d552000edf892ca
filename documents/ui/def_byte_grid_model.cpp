#include "documents/ui/def_byte_grid_model.h"

#include <QColor>
#include <QUndoCommand>
#include <QUndoStack>
#include <algorithm>
#include <optional>

#include "documents/area_offsets.h"
#include "documents/profibus_slots.h"
#include "documents/ui/editor_tags.h"

namespace tessara::documents {

namespace {

template <class Node>
auto& SelectOf(Node& node, ByteDirection direction) {
    return direction == ByteDirection::Out ? node.OutSelect : node.InSelect;
}

template <class Node>
auto& MnemonicOf(Node& node, ByteDirection direction) {
    return direction == ByteDirection::Out ? node.OutMnemonic : node.InMnemonic;
}

// One cell: a byte's selection ("Y"/"N") or its mnemonic.
class ByteCellCommand : public QUndoCommand {
public:
    ByteCellCommand(DefByteGridModel& model, size_t node, ByteDirection direction, size_t row, int column,
                    QString before, QString after)
        : QUndoCommand(QObject::tr("Edit byte")),
          model_(model),
          node_(node),
          direction_(direction),
          row_(row),
          column_(column),
          before_(std::move(before)),
          after_(std::move(after)) {}
    void redo() override { model_.Apply(node_, direction_, row_, column_, after_); }
    void undo() override { model_.Apply(node_, direction_, row_, column_, before_); }

private:
    DefByteGridModel& model_;
    size_t node_;
    ByteDirection direction_;
    size_t row_;
    int column_;
    QString before_, after_;
};

// Every selection of one direction of one node, before and after.
class SelectionsCommand : public QUndoCommand {
public:
    SelectionsCommand(DefByteGridModel& model, size_t node, ByteDirection direction, std::vector<char> before,
                      std::vector<char> after, const QString& text)
        : QUndoCommand(text),
          model_(model),
          node_(node),
          direction_(direction),
          before_(std::move(before)),
          after_(std::move(after)) {}
    void redo() override { model_.ApplySelections(node_, direction_, after_); }
    void undo() override { model_.ApplySelections(node_, direction_, before_); }

private:
    DefByteGridModel& model_;
    size_t node_;
    ByteDirection direction_;
    std::vector<char> before_, after_;
};

std::optional<bool> SelectionFromText(const QString& text) {
    const QString word = text.trimmed().toUpper();
    if (word == QLatin1String("Y") || word == QLatin1String("1") || word == QLatin1String("X")) return true;
    if (word == QLatin1String("N") || word == QLatin1String("0") || word.isEmpty()) return false;
    return std::nullopt;
}

QString SelectionText(bool selected) {
    return QString::fromLatin1(selected ? "Y" : "N");
}

}  // namespace

DefByteGridModel::DefByteGridModel(ByteDirection direction, QObject* parent)
    : QAbstractTableModel(parent), direction_(direction) {}

void DefByteGridModel::SetTable(DefByteTable* table) {
    beginResetModel();
    table_ = table;
    PlaceInArea();
    endResetModel();
}

void DefByteGridModel::ShowNode(int node) {
    beginResetModel();
    node_ = node;
    PlaceInArea();
    endResetModel();
}

void DefByteGridModel::SetLayout(const ProfibusLayout& layout, const QString& problem) {
    layout_ = layout;
    layoutProblem_ = problem;
    AddressesChanged();
}

void DefByteGridModel::PlaceInArea() {
    const bool output = direction_ == ByteDirection::Out;
    areaOffsets_ = ShownNode()
                       ? AreaOffsets(SelectedBytesBefore(*table_, static_cast<size_t>(node_), output), Selections())
                       : std::vector<size_t>();
}

void DefByteGridModel::AddressesChanged() {
    if (tags_) tags_->SelectionsChanged();
    if (rowCount() > 0)
        emit dataChanged(index(0, ColAddress), index(rowCount() - 1, ColTag),
                         {Qt::DisplayRole, Qt::ForegroundRole, Qt::ToolTipRole});
}

void DefByteGridModel::TagsChanged() {
    AddressesChanged();
}

DN_Nodo* DefByteGridModel::NodeAt(size_t node) const {
    return table_ && node < table_->size() ? &(*table_)[node] : nullptr;
}

const DN_Nodo* DefByteGridModel::ShownNode() const {
    return node_ < 0 ? nullptr : NodeAt(static_cast<size_t>(node_));
}

std::span<const char> DefByteGridModel::Selections() const {
    const DN_Nodo* shown = ShownNode();
    return shown ? std::span<const char>(SelectOf(*shown, direction_)) : std::span<const char>();
}

void DefByteGridModel::Push(std::unique_ptr<QUndoCommand> step) {
    if (undo_) {
        undo_->push(step.release());
    } else {
        step->redo();
    }
}

void DefByteGridModel::SetSelections(const std::vector<char>& after, const QString& what) {
    const std::span<const char> before = Selections();
    if (!ShownNode() || after.size() != before.size() || std::ranges::equal(after, before)) return;
    Push(std::make_unique<SelectionsCommand>(*this, static_cast<size_t>(node_), direction_,
                                             std::vector<char>(before.begin(), before.end()), after, what));
}

bool DefByteGridModel::Shows(size_t node, ByteDirection direction) const {
    return direction == direction_ && node_ >= 0 && static_cast<size_t>(node_) == node;
}

bool DefByteGridModel::Reveal(size_t node, ByteDirection direction) {
    if (!Shows(node, direction)) emit RevealRequested(static_cast<int>(node), direction);
    return Shows(node, direction);
}

void DefByteGridModel::Apply(size_t node, ByteDirection direction, size_t row, int column, const QString& value) {
    const bool shown = Reveal(node, direction);
    DN_Nodo* target = NodeAt(node);
    if (!target || row >= SelectOf(*target, direction).size()) return;
    if (column == ColSelect) {
        SelectOf(*target, direction)[row] = value == QLatin1String("Y");
    } else {
        MnemonicOf(*target, direction)[row] = value.toStdString();
    }
    if (tags_ && column == ColSelect) tags_->SelectionsChanged();
    if (!shown) return;
    const QModelIndex cell = index(static_cast<int>(row), column);
    emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole, Qt::CheckStateRole});
    if (column != ColSelect) return;
    PlaceInArea();
    AddressesChanged();
}

void DefByteGridModel::ApplySelections(size_t node, ByteDirection direction, const std::vector<char>& state) {
    const bool shown = Reveal(node, direction);
    DN_Nodo* target = NodeAt(node);
    if (!target || SelectOf(*target, direction).size() != state.size()) return;
    SelectOf(*target, direction) = state;
    if (tags_) tags_->SelectionsChanged();
    if (!shown) return;
    emit dataChanged(index(0, ColSelect), index(rowCount() - 1, ColSelect), {Qt::DisplayRole, Qt::CheckStateRole});
    PlaceInArea();
    AddressesChanged();
}

int DefByteGridModel::rowCount(const QModelIndex& parent) const {
    const DN_Nodo* shown = ShownNode();
    if (parent.isValid() || !shown) return 0;
    const size_t bytes = SelectOf(*shown, direction_).size();
    return bytes == 0 ? 1 : static_cast<int>(bytes);
}

int DefByteGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

bool DefByteGridModel::IsByte(const QModelIndex& index) const {
    return index.isValid() && static_cast<size_t>(index.row()) < Selections().size();
}

QVariant DefByteGridModel::data(const QModelIndex& index, int role) const {
    if (!IsByte(index)) return {};
    const DN_Nodo& shown = *ShownNode();
    const size_t row = static_cast<size_t>(index.row());
    const bool display = role == Qt::DisplayRole || role == Qt::EditRole;
    switch (index.column()) {
        case ColNumber:
            return display ? QVariant(index.row() + 1) : QVariant();
        case ColSelect:
            if (role == Qt::CheckStateRole) return SelectOf(shown, direction_)[row] ? Qt::Checked : Qt::Unchecked;
            return display ? QVariant(SelectionText(SelectOf(shown, direction_)[row])) : QVariant();
        case ColMnemonic:
            return display ? QVariant(QString::fromStdString(MnemonicOf(shown, direction_)[row])) : QVariant();
        case ColAddress:
            return AddressData(row, role);
        case ColTag:
            return TagData(row, role);
        default:
            return {};
    }
}

QVariant DefByteGridModel::AddressData(size_t row, int role) const {
    if (std::optional<QVariant> tagged = TagAddressData(row, role)) return *tagged;
    const size_t offset = row < areaOffsets_.size() ? areaOffsets_[row] : kNoAreaOffset;
    if (offset == kNoAreaOffset) return {};
    if (!layoutProblem_.isEmpty()) return role == Qt::ToolTipRole ? QVariant(layoutProblem_) : QVariant();
    const AreaDirection area = direction_ == ByteDirection::Out ? AreaDirection::Output : AreaDirection::Input;
    const ProfibusAddress address = layout_.Address(area, offset);
    switch (role) {
        case Qt::DisplayRole:
            return address.fits ? QString::fromStdString(PlcByteAddress(area, address.address))
                                : QStringLiteral("no address");
        case Qt::ForegroundRole:
            return address.fits ? QVariant() : QVariant(QColor(Qt::red));
        case Qt::ToolTipRole:
            return address.fits
                       ? QStringLiteral("Slot %1, byte %2 of its module").arg(address.slot).arg(address.slotOffset)
                       : QStringLiteral("No PLC address: %1")
                             .arg(QString::fromStdString(FitProblemText(address.problem, layout_.AreaSize(area))));
        default:
            return {};
    }
}

std::optional<size_t> DefByteGridModel::TagOfRow(size_t row) const {
    if (!tags_ || node_ < 0) return std::nullopt;
    return tags_->TagAt(static_cast<size_t>(node_), AreaOf(direction_), static_cast<uint32_t>(row + 1));
}

std::optional<QVariant> DefByteGridModel::TagAddressData(size_t row, int role) const {
    const std::optional<size_t> tag = TagOfRow(row);
    if (!tag || !layoutProblem_.isEmpty()) return std::nullopt;
    const plc::TagPlacement& placement = tags_->PlacementOf(*tag);
    if (placement.fault != plc::TagFault::None) return std::nullopt;  // its bytes stay bytes of their own
    const TypedTag& value = tags_->Tags()[*tag];
    const uint32_t within = static_cast<uint32_t>(row + 1) - value.byte;
    const QString address =
        QString::fromStdString(PlcAddressText(value.direction, placement.first.address, TagTypeSize(value.type)));
    switch (role) {
        case Qt::DisplayRole:
            return within == 0 ? QVariant(address) : QVariant(QStringLiteral("  +%1").arg(within));
        case Qt::ForegroundRole:
            return within == 0 ? QVariant() : QVariant(QColor(Qt::gray));
        case Qt::ToolTipRole:
            return QStringLiteral("Byte %1 of the %2 %3 at %4: slot %5, byte %6 of its module")
                .arg(within + 1)
                .arg(QString::fromLatin1(TagTypeName(value.type)), QString::fromStdString(value.name), address)
                .arg(placement.first.slot)
                .arg(placement.first.slotOffset + within);
        default:
            return QVariant();
    }
}

QVariant DefByteGridModel::TagData(size_t row, int role) const {
    const std::optional<size_t> tag = TagOfRow(row);
    if (!tag) return {};
    const TypedTag& value = tags_->Tags()[*tag];
    const QString fault = tags_->FaultText(*tag);
    switch (role) {
        case Qt::DisplayRole:
            return QStringLiteral("%1 (%2)").arg(QString::fromStdString(value.name),
                                                 QString::fromLatin1(TagTypeName(value.type)));
        case Qt::ForegroundRole:
            return fault.isEmpty() ? QVariant() : QVariant(QColor(Qt::red));
        case Qt::ToolTipRole: {
            const QString place = QString::fromStdString(plc::TypedTagPlace(value));
            if (!fault.isEmpty()) return QStringLiteral("%1 is not one value: %2").arg(place, fault);
            return QStringLiteral("%1, sent %2-endian").arg(place, QString::fromLatin1(ByteOrderName(value.byteOrder)));
        }
        default:
            return {};
    }
}

bool DefByteGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!IsByte(index)) return false;
    QString after;
    if (index.column() == ColSelect && role == Qt::CheckStateRole) {
        after = SelectionText(value.toInt() == Qt::Checked);
    } else if (index.column() == ColSelect && role == Qt::EditRole) {
        const std::optional<bool> selected = SelectionFromText(value.toString());
        if (!selected) return false;
        after = SelectionText(*selected);
    } else if (index.column() == ColMnemonic && role == Qt::EditRole) {
        after = value.toString();
    } else {
        return false;
    }
    const QString before = data(index, Qt::EditRole).toString();
    if (after == before) return true;
    Push(std::make_unique<ByteCellCommand>(*this, static_cast<size_t>(node_), direction_,
                                           static_cast<size_t>(index.row()), index.column(), before, after));
    return true;
}
Qt::ItemFlags DefByteGridModel::flags(const QModelIndex& index) const {
    if (!IsByte(index)) return Qt::ItemIsEnabled;
    switch (index.column()) {
        case ColSelect:
            return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
        case ColMnemonic:
            return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
        default:
            return Qt::ItemIsEnabled | Qt::ItemIsSelectable;  // a click on the byte number selects its row
    }
}

QVariant DefByteGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kHeaders[ColumnCount] = {"N", "Select", "Mnemonic", "PROFIBUS", "Tag"};
    return section >= 0 && section < ColumnCount ? QVariant(QString::fromLatin1(kHeaders[section])) : QVariant();
}

}  // namespace tessara::documents
