#include "documents/ui/editor_tags.h"

#include <QUndoCommand>
#include <algorithm>
#include <tuple>
#include <utility>

#include "documents/node_selections.h"

namespace tessara::documents {

namespace {

constexpr uint32_t kLongestTag = 8;

auto KeyOf(const TypedTag& tag) {
    return std::tuple(tag.node, tag.direction, tag.byte);
}

class MakeTagCommand : public QUndoCommand {
public:
    MakeTagCommand(EditorTags& tags, TypedTag tag)
        : QUndoCommand(QObject::tr("Make tag %1").arg(QString::fromStdString(tag.name))),
          tags_(tags),
          index_(tags.Tags().size()),
          tag_(std::move(tag)) {}
    void redo() override { tags_.Insert(index_, tag_); }
    void undo() override { tags_.Erase(index_); }

private:
    EditorTags& tags_;
    size_t index_;
    TypedTag tag_;
};

// The tag goes back where it was, so the earlier of two tags that share a name or bytes stays the earlier.
class RemoveTagCommand : public QUndoCommand {
public:
    RemoveTagCommand(EditorTags& tags, size_t index)
        : QUndoCommand(QObject::tr("Remove tag %1").arg(QString::fromStdString(tags.Tags()[index].name))),
          tags_(tags),
          index_(index),
          tag_(tags.Tags()[index]) {}
    void redo() override { tags_.Erase(index_); }
    void undo() override { tags_.Insert(index_, tag_); }

private:
    EditorTags& tags_;
    size_t index_;
    TypedTag tag_;
};

}  // namespace

void EditorTags::Reset(std::vector<TypedTag> tags, const QString& readOnlyReason) {
    tags_ = std::move(tags);
    readOnlyReason_ = readOnlyReason;
    placements_.reset();
    Sort();
}

void EditorTags::SetTable(const DefByteTable* table) {
    table_ = table;
    placements_.reset();
}

void EditorTags::SetLayout(const ProfibusLayout& layout) {
    layout_ = layout;
    placements_.reset();
}

void EditorTags::Sort() {
    order_.resize(tags_.size());
    for (size_t i = 0; i < order_.size(); ++i) order_[i] = i;
    std::ranges::sort(order_, {}, [&](size_t i) { return KeyOf(tags_[i]); });
}

std::optional<size_t> EditorTags::TagAt(size_t node, AreaDirection direction, uint32_t byte) const {
    const auto key = std::tuple(node + 1, direction, byte);
    // Tags starting at or before the byte, nearest first; none of them reaches further back than the longest type.
    auto at = std::ranges::upper_bound(order_, key, {}, [&](size_t i) { return KeyOf(tags_[i]); });
    std::optional<size_t> found;
    while (at != order_.begin()) {
        const TypedTag& tag = tags_[*--at];
        if (tag.node != node + 1 || tag.direction != direction || tag.byte + kLongestTag <= byte) break;
        if (byte <= tag.LastByte() && (!found || *at < *found)) found = *at;
    }
    return found;
}

const std::vector<plc::TagPlacement>& EditorTags::Placements() const {
    if (!placements_) {
        placements_ = plc::PlaceTypedTags(table_ ? NodesOf(*table_) : std::vector<NodeIo>(), layout_, tags_);
    }
    return *placements_;
}

const plc::TagPlacement& EditorTags::PlacementOf(size_t index) const {
    return Placements()[index];
}

QString EditorTags::FaultText(size_t index) const {
    return QString::fromStdString(plc::TagFaultText(tags_, index, PlacementOf(index), layout_));
}

std::optional<QString> EditorTags::NewTagProblem(const TypedTag& tag, size_t runLength) const {
    if (ReadOnly()) return readOnlyReason_;
    const std::optional<std::string> problem =
        plc::NewTagProblem(table_ ? NodesOf(*table_) : std::vector<NodeIo>(), layout_, tags_, tag, runLength);
    if (!problem) return std::nullopt;
    return QString::fromStdString(*problem);
}

std::unique_ptr<QUndoCommand> EditorTags::MakeStep(const TypedTag& tag) {
    return std::make_unique<MakeTagCommand>(*this, tag);
}

std::unique_ptr<QUndoCommand> EditorTags::RemoveStep(size_t index) {
    return std::make_unique<RemoveTagCommand>(*this, index);
}

void EditorTags::Insert(size_t index, const TypedTag& tag) {
    if (index > tags_.size()) return;
    tags_.insert(tags_.begin() + static_cast<std::ptrdiff_t>(index), tag);
    placements_.reset();
    Sort();
    emit Changed(static_cast<int>(tag.node) - 1, tag.direction);
}

void EditorTags::Erase(size_t index) {
    if (index >= tags_.size()) return;
    const TypedTag tag = tags_[index];
    tags_.erase(tags_.begin() + static_cast<std::ptrdiff_t>(index));
    placements_.reset();
    Sort();
    emit Changed(static_cast<int>(tag.node) - 1, tag.direction);
}

}  // namespace tessara::documents
