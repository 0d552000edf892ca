#pragma once

#include <QUndoStack>
#include <cstdint>
#include <functional>
#include <utility>
#include <variant>
#include <vector>

#include "base/workspace.h"
#include "documents/def_byte.h"
#include "documents/typed_tag.h"
#include "documents/ui/def_byte_grid_model.h"
#include "documents/ui/editor_dialog.h"
#include "documents/ui/editor_tags.h"
#include "documents/ui/loaded_files.h"
#include "documents/xml_document.h"

class QComboBox;
class QPushButton;
class QTabWidget;
namespace tessara::ui {
class AreaFitPanel;
}

namespace tessara::documents {

class DefByteGrid;
class MakeTagDialog;

// "Define Byte": which input and output bytes of every DeviceNet node are exchanged, with their mnemonics.
// Every showing rebuilds the table from DNET_Net.xml and DefByte.xml, and takes the typed tags of PlcMap.xml; OK
// writes DefByte.xml, and PlcMap.xml when a tag was made or removed; Cancel writes nothing.
class TFDefByte : public EditorDialog {
    Q_OBJECT

public:
    explicit TFDefByte(const base::Workspace& ws, QWidget* parent = nullptr);
    ~TFDefByte() override;

    void FormShow() override;
    void CBChange();
    void bitbtn1Click();
    // Points the two grids at the node the list selects; with none selected they show nothing.
    void ShowNodeBytes();
    // The grids edit the table in place; this hands over a cell still being edited.
    void StoreNodeBytes();

    // Select all, none or invert the bytes of the current node in the direction of the page shown.
    void SelectAllClick();
    void SelectNoneClick();
    void InvertClick();

    // "Make tag...": a typed tag over the rows chosen on the page shown, once its name, type and byte order are
    // given; "Remove tag": the tags of the chosen rows. Each one undoable step.
    void MakeTagClick();
    void RemoveTagClick();
    const std::vector<TypedTag>& Tags() const { return tags_.Tags(); }

    // The next showing shows this node (from 0) on the page of this direction, where a finding of the project
    // check is mended, with the cursor on its byte `byte` (from 0) when there is one.
    void OpenAtNode(int node, bool output, int byte = -1);

    // The index of the node the grids show and store into, or -1.
    int CurrentNode() const { return currentNode_; }

protected:
    void showEvent(QShowEvent* event) override;
    const QUndoStack& Steps() const override { return undo_; }

private:
    void BuildWindow();
    QWidget* BuildTopStrip();
    QWidget* BuildBottomStrip();
    QWidget* BuildTagButtons();
    MakeTagDialog& makeTag();
    // The tag "Make tag..." offers over the rows chosen, or a text saying why the rows make no tag.
    std::variant<TypedTag, QString> ProposedTag(const std::vector<int>& rows) const;
    // Shows the tags' cells again after a tag of this node and direction was made or removed.
    void ShowTagChange(int node, AreaDirection direction);
    // Saves PlcMap.xml with these tags, its other content kept; false after telling the user why it failed.
    bool SaveTags(const std::vector<TypedTag>& tags);
    bool LoadDocuments();
    // Runs a loading step; an error is shown as unhandled and ends the loading.
    bool LoadStep(const std::function<void()>& step);
    DefByteGrid* ShownGrid() const;
    // The PROFIBUS input and output areas of pargen.xml that the selections must fit.
    // With them, the slots' PLC starts and the typed tags of PlcMap.xml, or no tag and read-only tags when it
    // cannot be read.
    void ReadAreas();
    // Counts the node's selected bytes and shows them in its item.
    void CountSelections(size_t node);
    // Every change of the bytes is made on the node shown (an undo first brings its node into view), so only
    // that node is counted again: a toggle on a node of 65 535 bytes costs one pass over that node.
    void RecountShownNode();
    // The whole project's selections against the two areas.
    void ShowAreaFits();
    // Brings the node and page into view, so an undone edit happens where the user sees it.
    void RevealBytes(int node, ByteDirection direction);

    const base::Workspace& ws_;
    XmlDocument XML1;
    LoadedFiles loaded_;
    DefByteTable table_;
    int currentNode_ = -1;
    // Per node, how many of its input and output bytes are selected.
    std::vector<std::pair<size_t, size_t>> selected_;
    int32_t areaIn_ = 0;
    int32_t areaOut_ = 0;
    // Its steps name their bytes by node index, so it is cleared whenever the table is rebuilt.
    QUndoStack undo_;
    // Set when DNET_Net.xml failed to load: DefByte.xml was then not read, and writing it would drop
    // every selection it holds.
    bool networkUnread_ = false;
    // The tags as PlcMap.xml held them, so OK writes it only when they changed.
    std::vector<TypedTag> savedTags_;
    EditorTags tags_;
    MakeTagDialog* makeTag_ = nullptr;

    QComboBox* CB = nullptr;
    QTabWidget* pages_ = nullptr;
    int pendingNode_ = -1;
    bool pendingOutput_ = false;
    int pendingByte_ = -1;
    DefByteGrid* ASG_IN = nullptr;
    DefByteGrid* ASG_OUT = nullptr;
    QPushButton* bitbtn1 = nullptr;
    QPushButton* bitbtn2 = nullptr;
    ui::AreaFitPanel* areas_ = nullptr;
};

}  // namespace tessara::documents
