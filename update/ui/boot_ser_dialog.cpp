#include "update/ui/boot_ser_dialog.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "base/workspace.h"
#include "ui/controls.h"
#include "ui/message_display.h"
#include "ui/tool_icons.h"
#include "ui/window_style.h"
#include "update/ui/comm_error.h"
#include "update/ui/custom_comm.h"

namespace tessara::update {

namespace {

constexpr int kButtonHeight = 25;

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, int left, int top) {
    return ui::PlaceFittedControl<QLabel>(parent, name, text, QPoint(left, top));
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    return ui::PlaceControl<QPushButton>(parent, name, text, geometry);
}

// Every option starts checked.
QCheckBox* AddCheckBox(QWidget* parent, const char* name, const QString& text, int left, int top) {
    auto* box = ui::PlaceFittedControl<QCheckBox>(parent, name, text, QPoint(left, top));
    box->setChecked(true);
    return box;
}

QString OutcomeText(const RunResult& result) {
    switch (result.outcome) {
        case RunResult::Outcome::NotStarted:
            return QStringLiteral("Error!! The updater cannot be started: %1").arg(result.error);
        case RunResult::Outcome::Crashed:
            return QStringLiteral("Error!! The updater stopped abnormally.");
        case RunResult::Outcome::StillRunning:
            return QStringLiteral("The updater is still running after %1 s; the tool no longer waits for it.")
                .arg(std::chrono::duration_cast<std::chrono::seconds>(kRunLimit).count());
        case RunResult::Outcome::Ended:
            break;
    }
    if (result.exitCode != 0)
        return QStringLiteral("Error!! The updater ended with exit code %1.").arg(result.exitCode);
    return QStringLiteral("The updater ended with exit code 0.");
}

QStringList ToQStringList(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts) list << QString::fromStdString(text);
    return list;
}

}  // namespace

TFBootSer::TFBootSer(const base::Workspace& ws, QWidget* parent)
    : TFBootSer(ws, std::make_unique<TComm>(), std::make_unique<SystemPortLister>(), parent) {}

TFBootSer::TFBootSer(const base::Workspace& ws, std::unique_ptr<CommPort> comm, std::unique_ptr<PortLister> lister,
                     QWidget* parent)
    : ui::ReloadingDialog(parent), ws_(ws), Comm1(std::move(comm)), lister_(std::move(lister)) {
    setObjectName(QStringLiteral("FBootSer"));
    setWindowTitle(QStringLiteral("Update Firmware from Serial (RS232)"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
    setFixedSize(358, 210);
    ui::ApplyTessaraStyle(this);
    BuildPage1();
    BuildPage2();
}

TFBootSer::~TFBootSer() = default;

void TFBootSer::BuildPage1() {
    page1Labels_ = {
        AddLabel(this, "Label1", QStringLiteral("Follow this step for update the VO48210 from RS232:"), 8, 8),
        AddLabel(this, "Label2", QStringLiteral("1 - Turn OFF the Device"), 24, 32),
        AddLabel(this, "Label3", QStringLiteral("2 - Insert the Boot Jumper (see the manual)"), 24, 56),
        AddLabel(this, "Label4", QStringLiteral("3 - Select the  COM port and press the connect button"), 24, 80),
        AddLabel(this, "Label5", QStringLiteral("4 - Turn ON the Device"), 24, 128),
        AddLabel(this, "Label6", QStringLiteral("5 - Check the BOOT led. It must blink quickly"), 24, 152)};

    CB_Com = new QComboBox(this);
    CB_Com->setObjectName(QStringLiteral("CB_Com"));
    CB_Com->setGeometry(44, 96, 101, 21);
    // A port the system does not enumerate can be typed in as a device path.
    CB_Com->setEditable(true);
    CB_Com->setInsertPolicy(QComboBox::NoInsert);
    page1Labels_[3]->setBuddy(CB_Com);

    LbButton5 = AddButton(this, "LbButton5", QString(), QRect(152, 96, 23, 23));
    LbButton5->setIcon(ui::ToolIcon(ui::Glyph::Reload));
    LbButton5->setToolTip(QStringLiteral("Update COM Port List"));
    LbButton5->setAccessibleName(QStringLiteral("Update COM Port List"));
    connect(LbButton5, &QPushButton::clicked, this, &TFBootSer::LbButton5Click);

    auto* connectButton = AddButton(this, "LbButton1", QStringLiteral("Connect"), QRect(184, 96, 81, 23));
    connect(connectButton, &QPushButton::clicked, this, &TFBootSer::LbButton1Click);

    auto* cancel = AddButton(this, "LbButton3", QStringLiteral("Cancel"), QRect(24, 176, 100, kButtonHeight));
    cancel->setIcon(ui::ToolIcon(ui::Glyph::Cancel));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* next = AddButton(this, "LbButton2", QStringLiteral("Next"), QRect(128, 176, 100, kButtonHeight));
    next->setIcon(ui::ToolIcon(ui::Glyph::Step));
    next->setLayoutDirection(Qt::RightToLeft);  // the arrow stands right of the caption
    connect(next, &QPushButton::clicked, this, &TFBootSer::LbButton2Click);
}

void TFBootSer::BuildPage2() {
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::NoFrame);
    Panel1->setGeometry(0, 0, 353, 209);
    Panel1->setAutoFillBackground(true);  // covers page 1 entirely
    BuildOptionBoxes();
    BuildRunControls();
    Panel1->hide();
}

void TFBootSer::BuildOptionBoxes() {
    auto* title = AddLabel(Panel1, "Label7", QStringLiteral("Update Device Options"), 8, 8);
    CB_Firm = AddCheckBox(Panel1, "CB_Firm", QStringLiteral("Firmware"), 16, 32);
    CB_RFirm = AddCheckBox(Panel1, "CB_RFirm", QStringLiteral("Read Firmware when finish"), 64, 56);
    CB_Proj = AddCheckBox(Panel1, "CB_Proj", QStringLiteral("Project"), 16, 88);
    CB_RProj = AddCheckBox(Panel1, "CB_RProj", QStringLiteral("Read Project when finish"), 64, 112);
    title->setBuddy(CB_Firm);
    for (QCheckBox* box : {CB_Firm, CB_RFirm, CB_Proj, CB_RProj}) {
        connect(box, &QCheckBox::toggled, this, &TFBootSer::ShowCommandLine);
    }

    // Part of the page, but never shown and never read.
    auto* panel2 = new QFrame(Panel1);
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->move(8, 136);
    AddCheckBox(panel2, "CB_Par", QStringLiteral("Parameter"), 0, 0)->hide();
    AddCheckBox(panel2, "CB_Var", QStringLiteral("List PGN"), 0, 20)->hide();
    panel2->setEnabled(false);
    panel2->hide();
}

void TFBootSer::BuildRunControls() {
    // The command line is shown as the updater receives it on Windows, so the user can repeat it by hand.
    E_Command = new QLineEdit(Panel1);
    E_Command->setObjectName(QStringLiteral("E_Command"));
    E_Command->setAccessibleName(QStringLiteral("Updater command line"));
    E_Command->setReadOnly(true);
    E_Command->setGeometry(8, 136, 337, 20);

    auto* execute =
        AddButton(Panel1, "LbButton4", QStringLiteral("Execute update firmware"), QRect(8, 174, 169, kButtonHeight));
    connect(execute, &QPushButton::clicked, this, &TFBootSer::LbButton4Click);

    PB_Busy = new QProgressBar(Panel1);
    PB_Busy->setObjectName(QStringLiteral("PB_Busy"));
    PB_Busy->setAccessibleName(QStringLiteral("Updater running"));
    PB_Busy->setRange(0, 0);  // no end known: the bar only shows that the tool is busy
    PB_Busy->setTextVisible(false);
    PB_Busy->setGeometry(184, 160, 161, 12);
    PB_Busy->hide();

    L_Status = new QLabel(Panel1);
    L_Status->setObjectName(QStringLiteral("L_Status"));
    L_Status->setAccessibleName(QStringLiteral("Updater status"));
    L_Status->setWordWrap(true);
    L_Status->setGeometry(184, 174, 165, 32);
}

void TFBootSer::FormShow() {
    Panel1->hide();
    portConnected_ = false;
    SetPage1LabelsVisible(true);
    FillPortList();
}

void TFBootSer::SetPage1LabelsVisible(bool visible) {
    for (QLabel* label : page1Labels_) label->setVisible(visible);
    LbButton5->setVisible(visible);
}

void TFBootSer::FillPortList() {
    ports_ = lister_->ListComPorts();
    CB_Com->clear();
    for (const ComPort& port : ports_) CB_Com->addItem(port.name);
    // Stable names are long: the list opens wide enough to read them although the field is narrow.
    CB_Com->view()->setMinimumWidth(CB_Com->view()->sizeHintForColumn(0));
    PreselectPort();
}

void TFBootSer::PreselectPort() {
    const QString last =
        QString::fromStdString(ws_.ReadSetting(base::Workspace::kPortSection, base::Workspace::kPortKey));
    const auto used =
        std::find_if(ports_.begin(), ports_.end(), [&](const ComPort& p) { return p.systemLocation == last; });
    if (used != ports_.end()) {
        CB_Com->setCurrentIndex(static_cast<int>(used - ports_.begin()));
    } else if (!last.isEmpty()) {
        CB_Com->setCurrentIndex(-1);
        CB_Com->setEditText(last);  // typed last time, or an adapter not plugged in now
    } else {
        CB_Com->setCurrentIndex(ports_.empty() ? -1 : 0);
    }
}

void TFBootSer::LbButton5Click() {
    FillPortList();
}

std::optional<ComPort> TFBootSer::ChosenPort() const {
    const QString text = CB_Com->currentText().trimmed();
    const int listed = CB_Com->findText(text);
    if (listed >= 0) return ports_[static_cast<size_t>(listed)];
    if (text.isEmpty()) return std::nullopt;
    return ComPort{text, text};
}

QString TFBootSer::SelectedPortDevice() const {
    const std::optional<ComPort> port = ChosenPort();
    return PortDeviceName(port ? &*port : nullptr);
}

void TFBootSer::RememberPort() const {
    const std::optional<ComPort> port = ChosenPort();
    if (!port) return;
    try {
        ws_.SaveSetting(base::Workspace::kPortSection, base::Workspace::kPortKey, port->systemLocation.toStdString());
    } catch (const std::exception&) {
        // Only a convenience for the next update; the settings file's failure is told when the tool closes.
    }
}

void TFBootSer::LbButton1Click() {
    portConnected_ = false;
    ClosePortQuietly();
    try {
        Comm1->SetDeviceName(SelectedPortDevice());
        Comm1->Open();
        Comm1->SetDtr(true);
    } catch (const ECommError&) {
        ui::Messages().ShowError(this, QStringLiteral("Error!! Com Port cannot be open."));
        return;
    }
    portConnected_ = true;
    RememberPort();
}

void TFBootSer::LbButton2Click() {
    if (!portConnected_) {
        ui::Messages().ShowError(this, QStringLiteral("Select one port."));
        return;
    }
    Panel1->move(0, 0);
    Panel1->show();
    Panel1->raise();
    SetPage1LabelsVisible(false);
    ShowCommandLine();
    ClosePortQuietly();  // the updater opens the port itself
}

UpdaterCommand TFBootSer::CurrentCommand() const {
    const UpdateOptions options{CB_Firm->isChecked(), CB_RFirm->isChecked(), CB_Proj->isChecked(),
                                CB_RProj->isChecked()};
    return BuildUpdaterCommand(ws_, SelectedPortDevice().toStdString(), options);
}

void TFBootSer::ShowCommandLine() {
    E_Command->setText(QString::fromStdString(CurrentCommand().ParameterString));
}

void TFBootSer::LbButton4Click() {
    const UpdaterCommand command = CurrentCommand();
    const QString commandLine = QString::fromStdString(command.ParameterString);
    E_Command->setText(commandLine);

    PB_Busy->show();
    ShowProgress(std::chrono::milliseconds::zero());
    const RunResult result =
        RunProgramAndWait(QString::fromStdString(command.Program), {commandLine, ToQStringList(command.Arguments)},
                          false, kRunLimit, [this](std::chrono::milliseconds elapsed) { ShowProgress(elapsed); });
    PB_Busy->hide();
    ReportOutcome(result);
}

void TFBootSer::ShowProgress(std::chrono::milliseconds elapsed) {
    L_Status->setText(
        QStringLiteral("Updater running: %1 s").arg(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count()));
}

void TFBootSer::ReportOutcome(const RunResult& result) {
    const QString text = OutcomeText(result);
    L_Status->setText(text);
    const bool success = result.outcome == RunResult::Outcome::Ended && result.exitCode == 0;
    if (success) {
        ui::Messages().ShowMessage(this, text);
    } else {
        ui::Messages().ShowError(this, text);
    }
}

void TFBootSer::ClosePortQuietly() {
    try {
        Comm1->Close();
    } catch (const ECommError&) {
        // a port that cannot be closed cleanly is given up; the next Open reports what is wrong
    }
}

void TFBootSer::FormClose() {
    ClosePortQuietly();
}

void TFBootSer::done(int result) {
    FormClose();
    QDialog::done(result);
}

}  // namespace tessara::update
