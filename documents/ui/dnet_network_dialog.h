#pragma once

#include <QUndoStack>

#include "documents/device_import.h"
#include "documents/dnet_network.h"
#include "documents/eds_reader.h"
#include "documents/tags_after_save.h"
#include "documents/ui/editor_dialog.h"
#include "documents/ui/loaded_files.h"
#include "documents/xml_document.h"

class QAction;
class QPushButton;
namespace tessara::base {
class Workspace;
}

namespace tessara::documents {

class DNetTableModel;
class TextGridView;

// "DeviceNet Network": edits DNET_Net.xml of the current project in a grid of 64 rows. Each showing rebuilds
// the grid from the document; OK checks the node list and rewrites the document; Cancel writes nothing.
class TFDNet : public EditorDialog {
    Q_OBJECT

public:
    explicit TFDNet(const base::Workspace& ws, QWidget* parent = nullptr);

    // Empties the grid and fills it from the project's DNET_Net.xml.
    void FormShow() override;
    // OK: checks, writes the document and closes; a refusal or a failed save leaves the dialog open.
    void bitbtn1Click();
    // Shows the first failing test and returns false; true when every row of the list is valid.
    bool CheckRows();

    // Row operations on the rows the grid selects (context menu, Ctrl+I, Ctrl+Delete, Alt+Up, Alt+Down).
    void InsertRowClick();
    void DeleteRowsClick();
    void MoveUpClick();
    void MoveDownClick();
    // Fills the current row's byte counts and mnemonic from a device's EDS file and, where the file describes the
    // device's values, offers to select and name their bytes and make typed tags of them.
    void ImportEdsClick();

    // The next showing makes this cell (row from 0, column 1 to 3) current, where a finding of the project check
    // is mended.
    void OpenAtCell(int row, int column);

protected:
    void showEvent(QShowEvent* event) override;
    const QUndoStack& Steps() const override { return undo_; }

private:
    void BuildGrid();
    QWidget* BuildButtonStrip();
    void BuildActions();
    void MoveClick(int delta);
    bool SaveDocuments();
    bool MayDropShrunkSelections();
    // Asks before the save moves PLC addresses the tags were exported with; `tags` as the save leaves them.
    bool MaySaveMovingAddresses(const std::vector<TypedTag>& tags);
    bool MayDropWhatIsNotSaved();
    // Asks before the save removes typed tags whose node is deleted or whose bytes a lowered count cuts.
    bool MayDropTags(const std::vector<DroppedTag>& dropped);
    // Asks before moved nodes are saved while PlcMap.xml, whose tags would follow them, cannot be read.
    bool MayLeaveUnreadTags(const QString& failure, bool nodesMoved);
    // The bytes and tags the device's values give `row`, when the user wants them.
    std::optional<DeviceImport> OfferedImport(int row, const EdsDevice& device);
    // The nodes DNET_Net.xml held when the grid was filled.
    size_t LoadedNodes() const { return DNetListLength(loadedRows_) + rowsPastTheGrid_; }

    const base::Workspace& ws_;
    XmlDocument XML1;
    LoadedFiles loaded_;
    QUndoStack undo_;
    DNetTableModel* model_;
    DNetRows loadedRows_;  // as FormShow read them: a byte count lowered since is seen against them
    bool networkUnread_ = false;
    size_t rowsPastTheGrid_ = 0;  // rows of the document beyond the 64 the grid shows
    int pendingRow_ = -1;
    int pendingColumn_ = -1;
    TextGridView* grid_;
    QAction* importEds_;
    QPushButton* bitbtn1;
    QPushButton* bitbtn2;
};

}  // namespace tessara::documents
