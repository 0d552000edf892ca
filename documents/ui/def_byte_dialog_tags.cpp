// The typed tags of the byte selection editor: making and removing them, and saving them with the bytes.
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QUndoStack>

#include "documents/plc_map_document.h"
#include "documents/ui/def_byte_dialog.h"
#include "documents/ui/def_byte_grid.h"
#include "documents/ui/make_tag_dialog.h"
#include "plc/plc_symbols.h"
#include "ui/message_display.h"

namespace tessara::documents {

namespace {

// The type a run of this many bytes is taken as until the user says otherwise: the unsigned one of its size.
TagType TypeOfSize(size_t size) {
    for (const TagType type : {TagType::Word, TagType::Dword, TagType::Lword}) {
        if (TagTypeSize(type) == size) return type;
    }
    return TagType::Byte;
}

// A device sends all its values in one order: a node whose other tags say big-endian gets big-endian again.
ByteOrder OrderOfNode(const std::vector<TypedTag>& tags, size_t position) {
    for (const TypedTag& tag : tags) {
        if (tag.node == position) return tag.byteOrder;
    }
    return kDeviceByteOrder;
}

}  // namespace

// Beside the pages' tabs, where the designed bands leave room.
QWidget* TFDefByte::BuildTagButtons() {
    auto* corner = new QWidget(this);
    auto* row = new QHBoxLayout(corner);
    row->setContentsMargins(0, 0, 4, 2);
    row->setSpacing(6);
    struct Choice {
        const char* caption;
        const char* name;
        const char* accessible;
        const char* tip;
        void (TFDefByte::*click)();
    };
    for (const Choice& choice :
         {Choice{"Make tag...", "btn_MakeTag", "Make tag",
                 "A typed tag (WORD, INT, REAL...) over the consecutive rows chosen", &TFDefByte::MakeTagClick},
          Choice{"Remove tag", "btn_RemoveTag", "Remove tag", "Removes the typed tags of the rows chosen",
                 &TFDefByte::RemoveTagClick}}) {
        auto* button = new QPushButton(tr(choice.caption), corner);
        button->setObjectName(QString::fromLatin1(choice.name));
        button->setAccessibleName(tr(choice.accessible));
        button->setToolTip(tr(choice.tip));
        button->setAutoDefault(false);  // Enter stays OK's, as before the buttons came first in the window
        connect(button, &QPushButton::clicked, this, choice.click);
        row->addWidget(button);
    }
    return corner;
}

bool TFDefByte::SaveTags(const std::vector<TypedTag>& tags) {
    try {
        PlcMapDocument document = LoadPlcMap(ws_.ProjectDir);  // its starts and export stay as they are now
        document.tags = tags;
        SavePlcMap(ws_.ProjectDir, document);
    } catch (const std::exception& e) {
        ui::Messages().ShowUnhandled(this, QString::fromStdString(e.what()));
        return false;
    }
    return true;
}

MakeTagDialog& TFDefByte::makeTag() {
    if (!makeTag_) makeTag_ = new MakeTagDialog(this);
    return *makeTag_;
}

std::variant<TypedTag, QString> TFDefByte::ProposedTag(const std::vector<int>& rows) const {
    const int node = CB->currentIndex();
    const AreaDirection direction = ShownGrid() == ASG_OUT ? AreaDirection::Output : AreaDirection::Input;
    if (node < 0 || static_cast<size_t>(node) >= table_.size() || rows.empty() ||
        static_cast<size_t>(rows.back()) >= ShownGrid()->Bytes().Selections().size()) {
        return QStringLiteral("Choose the bytes of the tag first: a run of consecutive rows of the node.");
    }
    if (static_cast<size_t>(rows.back() - rows.front()) + 1 != rows.size()) {
        return QStringLiteral("The rows chosen for a tag must follow each other: rows %1 to %2 have gaps.")
            .arg(rows.front() + 1)
            .arg(rows.back() + 1);
    }
    const DN_Nodo& entry = table_[static_cast<size_t>(node)];
    const auto first = static_cast<uint32_t>(rows.front() + 1);
    const std::string& mnemonic =
        (direction == AreaDirection::Input ? entry.InMnemonic : entry.OutMnemonic)[rows.front()];
    TypedTag tag;
    tag.name = plc::PlcSymbolBase(mnemonic, entry.ID, direction, first);
    tag.direction = direction;
    tag.node = static_cast<size_t>(node) + 1;
    tag.byte = first;
    tag.type = TypeOfSize(rows.size());
    tag.byteOrder = OrderOfNode(tags_.Tags(), tag.node);
    return tag;
}

void TFDefByte::MakeTagClick() {
    StoreNodeBytes();
    if (tags_.ReadOnly()) {
        ui::Messages().ShowError(this, tags_.ReadOnlyReason());
        return;
    }
    const std::vector<int> rows = ShownGrid()->ChosenRows();
    const std::variant<TypedTag, QString> proposed = ProposedTag(rows);
    if (const QString* refusal = std::get_if<QString>(&proposed)) {
        ui::Messages().ShowError(this, *refusal);
        return;
    }
    const TypedTag& tag = std::get<TypedTag>(proposed);
    const QString place =
        QStringLiteral("Node %1 (position %2), %3 %4")
            .arg(table_[tag.node - 1].ID)
            .arg(tag.node)
            .arg(tag.direction == AreaDirection::Input ? "input" : "output")
            .arg(rows.size() == 1 ? QStringLiteral("byte %1").arg(tag.byte)
                                  : QStringLiteral("bytes %1 to %2").arg(tag.byte).arg(tag.byte + rows.size() - 1));
    makeTag().Ask(
        tag, place, [this, run = rows.size()](const TypedTag& made) { return tags_.NewTagProblem(made, run); },
        [this](const TypedTag& made) { undo_.push(tags_.MakeStep(made).release()); });
}

void TFDefByte::RemoveTagClick() {
    if (tags_.ReadOnly()) {
        ui::Messages().ShowError(this, tags_.ReadOnlyReason());
        return;
    }
    const std::vector<size_t> chosen = ShownGrid()->ChosenTags();
    if (chosen.empty()) {
        ui::Messages().ShowError(this, QStringLiteral("No typed tag holds a byte of the rows chosen."));
        return;
    }
    undo_.beginMacro(chosen.size() == 1 ? tr("Remove tag") : tr("Remove %1 tags").arg(chosen.size()));
    // From the last, so each index still names its tag.
    for (auto index = chosen.rbegin(); index != chosen.rend(); ++index) undo_.push(tags_.RemoveStep(*index).release());
    undo_.endMacro();
}

void TFDefByte::ShowTagChange(int node, AreaDirection direction) {
    RevealBytes(node, BytesOf(direction));
    for (DefByteGrid* grid : {ASG_IN, ASG_OUT}) grid->Bytes().TagsChanged();
}

}  // namespace tessara::documents
