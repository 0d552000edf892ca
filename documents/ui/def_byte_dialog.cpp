#include "documents/ui/def_byte_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "base/file_system.h"
#include "base/project_files.h"
#include "documents/node_selections.h"
#include "documents/plc_map_document.h"
#include "documents/profibus_areas.h"
#include "documents/ui/address_moves.h"
#include "documents/ui/def_byte_grid.h"
#include "documents/ui/edit_actions.h"
#include "documents/ui/tag_losses.h"
#include "ui/area_fit_panel.h"
#include "ui/left_copy_offer.h"
#include "ui/message_display.h"
#include "ui/window_style.h"

namespace tessara::documents {

namespace {

constexpr int kStripHeight = 41;

QPushButton* StripButton(const QString& text, const char* name, int x, QWidget* strip) {
    auto* button = new QPushButton(text, strip);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, 10, 93, 23);
    return button;
}

// The node's item with its selected counts: "5 ;4 ;2 ;Valve 3  (selected: 2 in, 1 out)".
QString NodeListText(const DN_Nodo& node, const std::pair<size_t, size_t>& selected) {
    return QString::fromStdString(NodeItemText(node)) +
           QStringLiteral("  (selected: %1 in, %2 out)").arg(selected.first).arg(selected.second);
}

size_t SelectedCount(const std::vector<char>& select) {
    return static_cast<size_t>(std::count(select.begin(), select.end(), 1));
}

}  // namespace

TFDefByte::TFDefByte(const base::Workspace& ws, QWidget* parent) : EditorDialog(parent), ws_(ws) {
    setObjectName(QStringLiteral("FDefByte"));
    setWindowTitle(QStringLiteral("FDefByte"));
    resize(506, 727);
    ui::ApplyTessaraStyle(this);
    BuildWindow();
    connect(CB, &QComboBox::currentIndexChanged, this, &TFDefByte::CBChange);
    connect(bitbtn1, &QPushButton::clicked, this, &TFDefByte::bitbtn1Click);
    connect(bitbtn2, &QPushButton::clicked, this, &TFDefByte::reject);
    for (DefByteGrid* grid : {ASG_IN, ASG_OUT}) {
        grid->SetUndoStack(&undo_);
        grid->Bytes().SetTable(&table_);
        connect(&grid->Bytes(), &DefByteGridModel::RevealRequested, this, &TFDefByte::RevealBytes);
    }
    for (DefByteGrid* grid : {ASG_IN, ASG_OUT}) {
        grid->Bytes().SetTags(&tags_);
        connect(grid, &DefByteGrid::MakeTagRequested, this, &TFDefByte::MakeTagClick);
        connect(grid, &DefByteGrid::RemoveTagRequested, this, &TFDefByte::RemoveTagClick);
    }
    tags_.SetTable(&table_);
    connect(&tags_, &EditorTags::Changed, this, &TFDefByte::ShowTagChange);
    connect(&undo_, &QUndoStack::indexChanged, this, &TFDefByte::RecountShownNode);
    AddUndoActions(this, undo_);
}

// The members go before the child grids: while the table is still here the steps, whose clearing recounts it,
// are dropped and the grids let go of it and of the tags.
TFDefByte::~TFDefByte() {
    undo_.clear();
    for (DefByteGrid* grid : {ASG_IN, ASG_OUT}) {
        grid->Bytes().SetTable(nullptr);
        grid->Bytes().SetTags(nullptr);
    }
}

void TFDefByte::BuildWindow() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildTopStrip());

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    ASG_IN = new DefByteGrid(ByteDirection::In, 320, pages_);
    ASG_IN->setObjectName(QStringLiteral("ASG_IN"));
    ASG_IN->setAccessibleName(QStringLiteral("Byte IN"));
    ASG_OUT = new DefByteGrid(ByteDirection::Out, 319, pages_);
    ASG_OUT->setObjectName(QStringLiteral("ASG_OUT"));
    ASG_OUT->setAccessibleName(QStringLiteral("Byte OUT"));
    pages_->addTab(ASG_IN, QStringLiteral("Byte IN"));
    pages_->addTab(ASG_OUT, QStringLiteral("Byte OUT"));
    pages_->setCornerWidget(BuildTagButtons());
    layout->addWidget(pages_, 1);

    areas_ = new ui::AreaFitPanel(this);
    areas_->setContentsMargins(8, 0, 8, 0);
    layout->addWidget(areas_);

    layout->addWidget(BuildBottomStrip());
}

QWidget* TFDefByte::BuildTopStrip() {
    auto* strip = new QWidget(this);
    strip->setFixedHeight(kStripHeight);
    auto* label = new QLabel(QStringLiteral("Select a Slave"), strip);
    label->move(8, 16);
    CB = new QComboBox(strip);
    CB->setObjectName(QStringLiteral("CB"));
    CB->setGeometry(104, 11, 361, CB->sizeHint().height());
    label->setBuddy(CB);
    return strip;
}

QWidget* TFDefByte::BuildBottomStrip() {
    auto* strip = new QWidget(this);
    strip->setFixedHeight(kStripHeight);
    bitbtn1 = StripButton(QStringLiteral("OK"), "bitbtn1", 12, strip);
    bitbtn2 = StripButton(QStringLiteral("Cancel"), "bitbtn2", 116, strip);
    struct Choice {
        const char* caption;
        const char* name;
        void (TFDefByte::*click)();
    };
    int x = 250;
    for (const Choice& choice : {Choice{"All", "btn_SelectAll", &TFDefByte::SelectAllClick},
                                 Choice{"None", "btn_SelectNone", &TFDefByte::SelectNoneClick},
                                 Choice{"Invert", "btn_Invert", &TFDefByte::InvertClick}}) {
        QPushButton* button = StripButton(tr(choice.caption), choice.name, x, strip);
        button->resize(76, 23);
        button->setToolTip(tr("%1: the bytes of this node on the page shown").arg(tr(choice.caption)));
        connect(button, &QPushButton::clicked, this, choice.click);
        x += 84;
    }
    return strip;
}

void TFDefByte::showEvent(QShowEvent* event) {
    EditorDialog::showEvent(event);
    if (event->spontaneous()) return;  // a window restored from the task bar keeps its edits
    const int node = std::exchange(pendingNode_, -1);
    const int byte = std::exchange(pendingByte_, -1);
    if (node < 0 || node >= CB->count()) return;
    CB->setCurrentIndex(node);
    pages_->setCurrentIndex(pendingOutput_ ? 1 : 0);
    DefByteGrid* grid = ShownGrid();
    const QModelIndex cell = grid->model()->index(byte, DefByteGridModel::ColSelect);
    if (!cell.isValid()) return;
    grid->setCurrentIndex(cell);
    grid->scrollTo(cell, QAbstractItemView::PositionAtCenter);
    grid->setFocus();
}

void TFDefByte::OpenAtNode(int node, bool output, int byte) {
    pendingNode_ = node;
    pendingOutput_ = output;
    pendingByte_ = byte;
}

void TFDefByte::FormShow() {
    ui::OfferLeftCopy(this, ws_.DefByteFile, base::kDocumentFileLimit);
    const QSignalBlocker quiet(CB);
    CB->clear();
    undo_.clear();
    currentNode_ = -1;
    ShowNodeBytes();  // no node while the table is rebuilt: the grids hold no rows it could take away
    loaded_.Remember({ws_.DefByteFile, ws_.DNetNetFile, base::ProjectFile(ws_.ProjectDir, base::kPlcMapFileName)});
    if (!LoadDocuments()) {
        CB->setCurrentIndex(-1);  // after a failed load no node is current until the user picks one
        return;
    }
    if (table_.empty()) return;
    CB->setCurrentIndex(0);
    ShowNodeBytes();
    currentNode_ = 0;
}

bool TFDefByte::LoadDocuments() {
    size_t nodesRead = 0;
    const bool networkRead = LoadStep(
        [&] { ReadDNetNodes(XML1, base::ProjectFile(ws_.ProjectDir, base::kDNetNetFileName), table_, nodesRead); });
    networkUnread_ = !networkRead;
    for (size_t i = 0; i < nodesRead; ++i) CB->addItem(QString());
    const bool bytesRead = networkRead && LoadStep([&] { ReadDefBytes(XML1, ws_.DefByteFile, table_); });
    ReadAreas();
    selected_.assign(table_.size(), {});
    for (size_t i = 0; i < table_.size(); ++i) CountSelections(i);
    ShowAreaFits();
    return bytesRead;
}

void TFDefByte::ReadAreas() {
    ProfibusAreas sizes;
    try {
        sizes = ReadProfibusAreas(ws_.ProjectDir);
    } catch (const std::exception&) {
        // pargen.xml that is not XML: the areas count as 0, as in the GSD file and the project check
    }
    areaIn_ = sizes.NbIn;
    areaOut_ = sizes.NbOut;
    // The slots' PLC starts that the user keeps in the project; an address is never shown from a guessed start.
    QString problem;
    PlcMapDocument plc;
    try {
        plc = LoadPlcMap(ws_.ProjectDir);
        tags_.Reset(plc.tags);
    } catch (const std::exception& e) {
        problem = QStringLiteral("No PLC address: %1").arg(QString::fromUtf8(e.what()));
        // Saving tags over a document that could not be read would drop whatever it holds.
        tags_.Reset({}, QStringLiteral("PlcMap.xml could not be read, so its typed tags are not shown and no tag can "
                                       "be made or removed until it is mended: %1")
                            .arg(QString::fromUtf8(e.what())));
    }
    savedTags_ = plc.tags;
    const ProfibusLayout layout(sizes, plc.starts);
    tags_.SetLayout(layout);
    ASG_IN->Bytes().SetLayout(layout, problem);
    ASG_OUT->Bytes().SetLayout(layout, problem);
}

void TFDefByte::CountSelections(size_t node) {
    const DN_Nodo& entry = table_[node];
    selected_[node] = {SelectedCount(entry.InSelect), SelectedCount(entry.OutSelect)};
    if (static_cast<int>(node) < CB->count())
        CB->setItemText(static_cast<int>(node), NodeListText(entry, selected_[node]));
}

void TFDefByte::RecountShownNode() {
    const int shown = CB->currentIndex();
    if (shown >= 0 && static_cast<size_t>(shown) < selected_.size()) CountSelections(static_cast<size_t>(shown));
    ShowAreaFits();
}

void TFDefByte::ShowAreaFits() {
    documents::AreaFit input{0, areaIn_};
    documents::AreaFit output{0, areaOut_};
    for (const auto& [in, out] : selected_) {
        input.selected += in;
        output.selected += out;
    }
    areas_->SetFits(input, output);
}

void TFDefByte::RevealBytes(int node, ByteDirection direction) {
    if (node < 0 || node >= CB->count()) return;
    CB->setCurrentIndex(node);
    pages_->setCurrentIndex(direction == ByteDirection::Out ? 1 : 0);
}

DefByteGrid* TFDefByte::ShownGrid() const {
    return pages_->currentIndex() == 1 ? ASG_OUT : ASG_IN;
}

void TFDefByte::SelectAllClick() {
    ShownGrid()->SelectAllBytes();
}

void TFDefByte::SelectNoneClick() {
    ShownGrid()->SelectNoBytes();
}

void TFDefByte::InvertClick() {
    ShownGrid()->InvertBytes();
}

bool TFDefByte::LoadStep(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        ui::Messages().ShowUnhandled(this, QString::fromStdString(e.what()));
        return false;
    }
}

void TFDefByte::ShowNodeBytes() {
    for (DefByteGrid* grid : {ASG_IN, ASG_OUT}) grid->Bytes().ShowNode(CB->currentIndex());
}

void TFDefByte::StoreNodeBytes() {
    if (currentNode_ < 0) return;
    ASG_IN->CommitEdit();
    ASG_OUT->CommitEdit();
}

void TFDefByte::CBChange() {
    StoreNodeBytes();
    currentNode_ = CB->currentIndex();
    ShowNodeBytes();
}

void TFDefByte::bitbtn1Click() {
    StoreNodeBytes();
    if (networkUnread_) {
        ui::Messages().ShowError(this, QStringLiteral("Error!! DNET_Net.xml could not be read, so the stored byte "
                                                      "selections were not loaded and saving would drop them. Correct "
                                                      "the network first. "));
        return;
    }
    const std::string plcMapFile = base::ProjectFile(ws_.ProjectDir, base::kPlcMapFileName);
    std::vector<TypedTag> tags = tags_.Tags();
    const std::vector<NodeIo> savedNodes = NodesOf(SavedByteTable(ws_.DNetNetFile, ws_.DefByteFile));
    const std::vector<NodeIo> nodes = NodesOf(table_);
    // Selections belong to nodes by position: a network rewritten meanwhile may have moved the nodes.
    if (!loaded_.MaySaveAfterChangeOf(this, ws_.DNetNetFile,
                                      QStringLiteral("its nodes may have moved, and the selections would go to "
                                                     "the nodes now at their positions")) ||
        !loaded_.MayReplace(this, {ws_.DefByteFile}) ||
        (tags != savedTags_ && !loaded_.MayReplace(this, {plcMapFile})) ||
        !MaySaveDroppingBrokenTags(this, savedNodes, savedTags_, nodes, tags) ||
        !MaySaveMovingExportedAddresses(this, savedNodes, {areaIn_, areaOut_}, nodes, {areaIn_, areaOut_}, &tags)) {
        return;
    }
    try {
        SaveDefBytes(XML1, ws_.DefByteFile, table_);
    } catch (const std::exception& e) {
        ui::Messages().ShowUnhandled(this, QString::fromStdString(e.what()));
        return;
    }
    if (tags != savedTags_ && !SaveTags(tags)) return;
    accept();
}

}  // namespace tessara::documents
