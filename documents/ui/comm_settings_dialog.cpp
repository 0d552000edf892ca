#include "documents/ui/comm_settings_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QUndoCommand>
#include <exception>
#include <utility>

#include "base/file_system.h"
#include "base/workspace.h"
#include "documents/document_schema.h"
#include "documents/int_text.h"
#include "documents/node_selections.h"
#include "documents/profibus_areas.h"
#include "documents/ui/address_moves.h"
#include "documents/ui/edit_actions.h"
#include "ui/controls.h"
#include "ui/left_copy_offer.h"
#include "ui/message_display.h"
#include "ui/window_style.h"

namespace tessara::documents {

namespace {

constexpr int kLabelLeft = 8;
constexpr int kFieldLeft = 80;
constexpr int kFieldWidth = 145;
constexpr int kFieldHeight = 21;

const QStringList kProfiBaudRates = {"9600", "19200", "45.45K", "93.75K", "187.5K",       "500K",
                                     "1.5M", "3.0M",  "6.0M",   "12M",    "Auto Baudrate"};
const QStringList kDNetBaudRates = {"125K", "250K", "500K"};

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// Places a field at its row of the frame, with the label that names it on its left.
template <class Field>
Field* AddLabelledField(QGroupBox* frame, const char* name, const QString& caption, int top) {
    auto* field = new Field(frame);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(kFieldLeft, top, kFieldWidth, kFieldHeight);
    auto* label = new QLabel(caption, frame);
    label->setGeometry(kLabelLeft, top, kFieldLeft - kLabelLeft, kFieldHeight);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setBuddy(field);
    return field;
}

QCheckBox* AddCheckBox(QGroupBox* frame, const char* name, const QString& caption, int top) {
    return ui::PlaceControl<QCheckBox>(frame, name, caption,
                                       QRect(kLabelLeft, top, frame->width() - 2 * kLabelLeft, 17));
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, int left) {
    return ui::PlaceControl<QPushButton>(parent, name, caption, QRect(left, 283, 77, 23));
}

// The DeviceNet list accepts typing: the stored index is that of the item whose text was typed (in any case),
// -1 for any other text.
int TypedItemIndex(const QComboBox* list) {
    return list->findText(list->currentText(), Qt::MatchFixedString);
}

// One change of one control; successive changes of the same control join, so a typed word is one step.
class ControlCommand : public QUndoCommand {
public:
    ControlCommand(TFpargen& dialog, int control, TFpargen::ControlState before, TFpargen::ControlState after)
        : QUndoCommand(QObject::tr("Edit")),
          dialog_(dialog),
          control_(control),
          before_(std::move(before)),
          after_(std::move(after)) {}
    int id() const override { return control_; }
    bool mergeWith(const QUndoCommand* other) override {
        after_ = static_cast<const ControlCommand*>(other)->after_;
        return true;
    }
    // The control already shows the change when the step is recorded.
    void redo() override {
        if (!first_) dialog_.Restore(after_);
        first_ = false;
    }
    void undo() override { dialog_.Restore(before_); }

private:
    TFpargen& dialog_;
    int control_;
    TFpargen::ControlState before_, after_;
    bool first_ = true;
};

bool IsUndoKey(const QKeyEvent* key) {
    return key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
           key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y);
}

}  // namespace

TFpargen::TFpargen(const base::Workspace& ws, QWidget* parent) : EditorDialog(parent), ws_(ws) {
    setWindowTitle(QStringLiteral("SET COMMUNICATION"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(250, 325);
    ui::ApplyTessaraStyle(this);
    BuildProfibusFrame();
    BuildDeviceNetFrame();
    bitbtn1 = AddButton(this, "bitbtn1", QStringLiteral("OK"), 36);
    bitbtn2 = AddButton(this, "bitbtn2", QStringLiteral("Cancel"), 140);
    connect(bitbtn1, &QPushButton::clicked, this, &TFpargen::BitBtn1Click);
    connect(bitbtn2, &QPushButton::clicked, this, &TFpargen::reject);
    BuildUndo();
}

void TFpargen::BuildUndo() {
    int control = 0;
    for (QLineEdit* field : {E_Pro_ID, E_Pro_IN, E_Pro_Out, E_DNET_ID, CB_DNET_Baud->lineEdit()}) {
        connect(field, &QLineEdit::textEdited, this, [this, control] { RecordChange(control); });
        field->installEventFilter(this);
        ++control;
    }
    connect(CB_DNET_Baud, &QComboBox::activated, this, [this, control] { RecordChange(control); });
    for (QCheckBox* box : {CB_Pro_CancelData, CB_DNET_CancelData}) {
        connect(box, &QCheckBox::clicked, this, [this] { RecordChange(-1); });
    }
    AddUndoActions(this, undo_);
}

// A check box's clicks never join (-1): each one is a step of its own.
void TFpargen::RecordChange(int control) {
    if (restoring_) return;
    const ControlState now = Capture();
    if (now == shown_) return;
    undo_.push(new ControlCommand(*this, control, shown_, now));
    shown_ = now;
}

TFpargen::ControlState TFpargen::Capture() const {
    return {E_Pro_ID->text(),
            E_Pro_IN->text(),
            E_Pro_Out->text(),
            E_DNET_ID->text(),
            CB_DNET_Baud->currentText(),
            CB_Pro_CancelData->isChecked(),
            CB_DNET_CancelData->isChecked()};
}

void TFpargen::Restore(const ControlState& state) {
    restoring_ = true;
    E_Pro_ID->setText(state.proId);
    E_Pro_IN->setText(state.proIn);
    E_Pro_Out->setText(state.proOut);
    E_DNET_ID->setText(state.dnetId);
    CB_DNET_Baud->setCurrentIndex(CB_DNET_Baud->findText(state.dnetBaud));
    CB_DNET_Baud->setEditText(state.dnetBaud);
    CB_Pro_CancelData->setChecked(state.proCancel);
    CB_DNET_CancelData->setChecked(state.dnetCancel);
    shown_ = state;
    restoring_ = false;
}

bool TFpargen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && IsUndoKey(static_cast<QKeyEvent*>(event))) return true;
    return QDialog::eventFilter(watched, event);
}

void TFpargen::BuildProfibusFrame() {
    GroupBox2 = new QGroupBox(QStringLiteral(" PROFIBUS "), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(8, 10, 233, 152);
    E_Pro_ID = AddLabelledField<QLineEdit>(GroupBox2, "E_Pro_ID", QStringLiteral("ID Dev."), 21);
    CB_Pro_Baud = AddLabelledField<QComboBox>(GroupBox2, "CB_Pro_Baud", QStringLiteral("Baud rate"), 45);
    CB_Pro_Baud->addItems(kProfiBaudRates);
    CB_Pro_Baud->setEnabled(false);  // the device negotiates the PROFIBUS rate; shown, never chosen
    E_Pro_IN = AddLabelledField<QLineEdit>(GroupBox2, "E_Pro_IN", QStringLiteral("N Byte IN"), 69);
    E_Pro_Out = AddLabelledField<QLineEdit>(GroupBox2, "E_Pro_Out", QStringLiteral("N Byte OUT"), 93);
    CB_Pro_CancelData =
        AddCheckBox(GroupBox2, "CB_Pro_CancelData", QStringLiteral("Cancel Data on DeviceNet Error"), 120);
}

void TFpargen::BuildDeviceNetFrame() {
    GroupBox1 = new QGroupBox(QStringLiteral(" DeviceNet Master "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 168, 233, 104);
    E_DNET_ID = AddLabelledField<QLineEdit>(GroupBox1, "E_DNET_ID", QStringLiteral("ID Dev."), 21);
    CB_DNET_Baud = AddLabelledField<QComboBox>(GroupBox1, "CB_DNET_Baud", QStringLiteral("Baud rate"), 45);
    CB_DNET_Baud->setEditable(true);
    CB_DNET_Baud->setInsertPolicy(QComboBox::NoInsert);
    CB_DNET_Baud->addItems(kDNetBaudRates);
    CB_DNET_CancelData =
        AddCheckBox(GroupBox1, "CB_DNET_CancelData", QStringLiteral("Cancel Data on PROFIBUS Error"), 72);
}

void TFpargen::showEvent(QShowEvent* event) {
    // A window restored by the window system stays where the user put it.
    if (!event->spontaneous()) {
        if (QScreen* display = screen()) move(display->availableGeometry().center() - rect().center());
    }
    EditorDialog::showEvent(event);
    if (!event->spontaneous()) FocusPendingElement();
}

void TFpargen::OpenAtElement(const QString& element) {
    pendingElement_ = element;
}

// The controls are named after the window's design, the elements after the document.
void TFpargen::FocusPendingElement() {
    static const std::pair<const char*, const char*> kControls[] = {
        {pargen_xml::kProfiId, "E_Pro_ID"},
        {pargen_xml::kProfiBaud, "CB_Pro_Baud"},
        {pargen_xml::kProfiNbIn, "E_Pro_IN"},
        {pargen_xml::kProfiNbOut, "E_Pro_Out"},
        {pargen_xml::kProfiCancelData, "CB_Pro_CancelData"},
        {pargen_xml::kDNetDevId, "E_DNET_ID"},
        {pargen_xml::kDNetBaud, "CB_DNET_Baud"},
        {pargen_xml::kDNetCancelData, "CB_DNET_CancelData"},
    };
    const QString element = std::exchange(pendingElement_, QString());
    for (const auto& [name, control] : kControls) {
        if (element != QLatin1String(name)) continue;
        auto* widget = findChild<QWidget*>(QLatin1String(control));
        // The PROFIBUS baud list cannot be changed: OK writes the code it shows, which mends a code out of range.
        (widget->isEnabled() ? widget : bitbtn1)->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
    }
}

void TFpargen::FormShow() {
    ui::OfferLeftCopy(this, ws_.PargenFile, base::kDocumentFileLimit);
    // Without a document the check boxes keep the state in which the dialog was last closed.
    CommSettings settings;
    settings.ProfiCancelData = CB_Pro_CancelData->isChecked();
    settings.DNetCancelData = CB_DNET_CancelData->isChecked();
    QString failure;
    loaded_.Remember({ws_.PargenFile});
    try {
        LoadCommSettings(ws_.PargenFile, settings);
    } catch (const std::exception& e) {
        failure = FromUtf8(e.what());
    }
    ShowSettings(settings);
    undo_.clear();
    shown_ = Capture();
    if (!failure.isEmpty()) ui::Messages().ShowUnhandled(this, failure);
}

void TFpargen::ShowSettings(const CommSettings& s) {
    E_Pro_ID->setText(FromUtf8(s.ProfiId));
    CB_Pro_Baud->setCurrentIndex(s.ProfiBaud);
    E_Pro_IN->setText(FromUtf8(s.ProfiNbIn));
    E_Pro_Out->setText(FromUtf8(s.ProfiNbOut));
    CB_Pro_CancelData->setChecked(s.ProfiCancelData);
    E_DNET_ID->setText(FromUtf8(s.DNetDevId));
    CB_DNET_Baud->setCurrentIndex(s.DNetBaud);
    CB_DNET_CancelData->setChecked(s.DNetCancelData);
}

CommSettings TFpargen::Settings() const {
    CommSettings s;
    s.ProfiId = E_Pro_ID->text().toStdString();
    s.ProfiBaud = CB_Pro_Baud->currentIndex();
    s.ProfiNbIn = E_Pro_IN->text().toStdString();
    s.ProfiNbOut = E_Pro_Out->text().toStdString();
    s.ProfiCancelData = CB_Pro_CancelData->isChecked();
    s.DNetDevId = E_DNET_ID->text().toStdString();
    s.DNetBaud = TypedItemIndex(CB_DNET_Baud);
    s.DNetCancelData = CB_DNET_CancelData->isChecked();
    return s;
}

bool TFpargen::CheckSettings() {
    const std::optional<std::string> failure = documents::CheckSettings(Settings());
    if (failure) ui::Messages().ShowError(this, FromUtf8(*failure));
    return !failure;
}

// New byte counts cut the areas, and the slots after them, differently: the nodes stay as saved.
bool TFpargen::MaySaveMovingAddresses() {
    ProfibusAreas saved;
    try {
        saved = ReadProfibusAreas(ws_.ProjectDir);
    } catch (const std::exception&) {
        // pargen.xml that is not XML: its areas count as 0, as in the check
    }
    const CommSettings s = Settings();
    const ProfibusAreas areas{ParseIntText(s.ProfiNbIn).value_or(0), ParseIntText(s.ProfiNbOut).value_or(0)};
    if (areas.NbIn == saved.NbIn && areas.NbOut == saved.NbOut) return true;
    const std::vector<NodeIo> nodes = NodesOf(SavedByteTable(ws_.DNetNetFile, ws_.DefByteFile));
    return MaySaveMovingExportedAddresses(this, nodes, saved, nodes, areas);
}

void TFpargen::BitBtn1Click() {
    if (!CheckSettings() || !loaded_.MayReplace(this, {ws_.PargenFile}) || !MaySaveMovingAddresses()) return;
    try {
        SaveCommSettings(XML1, ws_.PargenFile, Settings());
    } catch (const std::exception& e) {
        ui::Messages().ShowUnhandled(this, FromUtf8(e.what()));
        return;
    }
    accept();
}

}  // namespace tessara::documents
