#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "documents/def_byte.h"
#include "documents/profibus_slots.h"
#include "documents/typed_tag.h"
#include "plc/typed_tags.h"

class QUndoCommand;

namespace tessara::documents {

// The typed tags of PlcMap.xml as the byte editor holds them before they are saved, with where each lands among
// the bytes selected now. Where a tag lands follows from every node's selections, so it is worked out again only
// when asked after a change, once for all tags.
class EditorTags : public QObject {
    Q_OBJECT

public:
    explicit EditorTags(QObject* parent = nullptr) : QObject(parent) {}

    // The tags loaded with the documents; with a reason, PlcMap.xml could not be read and no tag may change, so
    // OK never overwrites what it holds.
    void Reset(std::vector<TypedTag> tags, const QString& readOnlyReason = {});
    // The table whose selections place the tags, and the slots that give them their addresses.
    void SetTable(const DefByteTable* table);
    void SetLayout(const ProfibusLayout& layout);
    // Every change of a selection calls this, so the next question places the tags again.
    void SelectionsChanged() { placements_.reset(); }

    const std::vector<TypedTag>& Tags() const { return tags_; }
    const ProfibusLayout& Layout() const { return layout_; }
    bool ReadOnly() const { return !readOnlyReason_.isEmpty(); }
    const QString& ReadOnlyReason() const { return readOnlyReason_; }

    // The tag that holds byte `byte` (from 1) of the node at index `node` in `direction`; the first made when
    // faulty tags share it.
    std::optional<size_t> TagAt(size_t node, AreaDirection direction, uint32_t byte) const;
    const plc::TagPlacement& PlacementOf(size_t index) const;
    // Why the tag is not one value; empty for a sound tag.
    QString FaultText(size_t index) const;
    // Why `tag`, made from a run of `runLength` chosen bytes, cannot join the tags; nullopt when it can.
    std::optional<QString> NewTagProblem(const TypedTag& tag, size_t runLength) const;

    // The steps of the undo stack: making `tag`, and removing the tag at `index`.
    std::unique_ptr<QUndoCommand> MakeStep(const TypedTag& tag);
    std::unique_ptr<QUndoCommand> RemoveStep(size_t index);

    // What the steps do.
    void Insert(size_t index, const TypedTag& tag);
    void Erase(size_t index);

signals:
    // A tag of this node (its index in the table) and direction was made or removed.
    void Changed(int node, AreaDirection direction);

private:
    const std::vector<plc::TagPlacement>& Placements() const;
    // The tags' indexes in node, direction and first byte order, so a row finds its tag without a walk over all.
    void Sort();

    std::vector<TypedTag> tags_;
    std::vector<size_t> order_;
    QString readOnlyReason_;
    const DefByteTable* table_ = nullptr;
    ProfibusLayout layout_;
    mutable std::optional<std::vector<plc::TagPlacement>> placements_;
};

}  // namespace tessara::documents
