#include "documents/def_byte_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/message_display.h"
#include "app/window_style.h"
#include "documents/def_byte_grid.h"

namespace {

constexpr int kStripHeight = 41;

QPushButton* StripButton(const QString& text, const char* name, int x, QWidget* strip) {
    auto* button = new QPushButton(text, strip);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, 10, 93, 23);
    return button;
}

}  // namespace

TFDefByte::TFDefByte(const Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName(QStringLiteral("FDefByte"));
    setWindowTitle(QStringLiteral("FDefByte"));
    resize(506, 727);
    ApplyTessaraStyle(this);
    BuildWindow();
    connect(CB, &QComboBox::currentIndexChanged, this, &TFDefByte::CBChange);
    connect(bitbtn1, &QPushButton::clicked, this, &TFDefByte::bitbtn1Click);
    connect(bitbtn2, &QPushButton::clicked, this, &TFDefByte::reject);
}

// The table dies before the child widgets, and the grids still ask their models for rows while they close.
TFDefByte::~TFDefByte() {
    DetachGrids();
}

void TFDefByte::DetachGrids() {
    ASG_IN->Bytes().Detach();
    ASG_OUT->Bytes().Detach();
}

void TFDefByte::BuildWindow() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildTopStrip());

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    ASG_IN = new DefByteGrid(320, pages_);
    ASG_IN->setObjectName(QStringLiteral("ASG_IN"));
    ASG_IN->setAccessibleName(QStringLiteral("Byte IN"));
    ASG_OUT = new DefByteGrid(319, pages_);
    ASG_OUT->setObjectName(QStringLiteral("ASG_OUT"));
    ASG_OUT->setAccessibleName(QStringLiteral("Byte OUT"));
    pages_->addTab(ASG_IN, QStringLiteral("Byte IN"));
    pages_->addTab(ASG_OUT, QStringLiteral("Byte OUT"));
    layout->addWidget(pages_, 1);

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
    return strip;
}

void TFDefByte::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();  // a window restored from the task bar keeps its edits
}

void TFDefByte::FormShow() {
    const QSignalBlocker quiet(CB);
    // The grids view the table's arrays, so they let go of them before the table is rebuilt.
    DetachGrids();
    CB->clear();
    currentNode_ = -1;
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
    const bool networkRead = LoadStep([&] { ReadDNetNodes(XML1, ws_.ProjectPath("DNET_Net.xml"), table_, nodesRead); });
    networkUnread_ = !networkRead;
    for (size_t i = 0; i < nodesRead; ++i) CB->addItem(QString::fromStdString(NodeItemText(table_[i])));
    return networkRead && LoadStep([&] { ReadDefBytes(XML1, ws_.DefByteFile, table_); });
}

bool TFDefByte::LoadStep(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        Messages().ShowUnhandled(this, QString::fromStdString(e.what()));
        return false;
    }
}

void TFDefByte::ShowNodeBytes() {
    const int e = CB->currentIndex();
    if (e < 0 || static_cast<size_t>(e) >= table_.size()) {
        DetachGrids();
        return;
    }
    DN_Nodo& node = table_[static_cast<size_t>(e)];
    ASG_IN->Bytes().ShowBytes(node.InSelect, node.InMnemonic);
    ASG_OUT->Bytes().ShowBytes(node.OutSelect, node.OutMnemonic);
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
        Messages().ShowError(this, QStringLiteral("Error!! DNET_Net.xml could not be read, so the stored byte "
                                                  "selections were not loaded and saving would drop them. Correct "
                                                  "the network first. "));
        return;
    }
    try {
        SaveDefBytes(XML1, ws_.DefByteFile, table_);
    } catch (const std::exception& e) {
        Messages().ShowUnhandled(this, QString::fromStdString(e.what()));
        return;
    }
    accept();
}
