#include "app/main_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "app/about_dialog.h"
#include "app/folder_chooser.h"
#include "app/new_project_dialog.h"
#include "app/project_panel.h"
#include "base/example_project.h"
#include "base/file_system.h"
#include "base/project_files.h"
#include "check/project_check.h"
#include "check/ui/check_dialog.h"
#include "documents/ui/address_moves.h"
#include "documents/ui/comm_settings_dialog.h"
#include "documents/ui/def_byte_dialog.h"
#include "documents/ui/dnet_network_dialog.h"
#include "gsd/gsd_file.h"
#include "image/bank_image.h"
#include "plc/export_move_question.h"
#include "ui/file_dialogs.h"
#include "ui/left_copy_offer.h"
#include "ui/link_label.h"
#include "ui/message_display.h"
#include "ui/tool_icons.h"
#include "ui/window_style.h"
#include "update/ui/boot_ser_dialog.h"

namespace tessara::app {

const QString TFTessaraFirmWare::kDesignedCaption =
    QStringLiteral("Kestrane - Tessara SW48210 - DeviceNet m / PROFIBUS s");
const QString TFTessaraFirmWare::kCaptionPrefix = kDesignedCaption + QStringLiteral(" :");

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The step labels and the link are bold and grey (RGB 128, 128, 128).
void MakeBoldGrey(QLabel* label) {
    ui::MakeBold(label);
    QPalette grey = label->palette();
    grey.setColor(QPalette::WindowText, QColor(128, 128, 128));
    label->setPalette(grey);
}

// The findings the update question lists itself, and the length at which one of them is cut there.
constexpr size_t kFindingsInQuestion = 8;
constexpr qsizetype kFindingLengthInQuestion = 160;

QString FindingEntry(const check::Finding& f) {
    return QStringLiteral("%1 - %2: %3").arg(check::SeverityName(f.severity), Q(f.place), Q(f.text));
}

QString Shortened(const QString& line) {
    if (line.size() <= kFindingLengthInQuestion) return line;
    return line.left(kFindingLengthInQuestion - 3) + QStringLiteral("...");
}

QLabel* AddStepLabel(QWidget* parent, int number, int top) {
    auto* label = new QLabel(QStringLiteral("Step %1").arg(number), parent);
    label->setObjectName(QStringLiteral("Label%1").arg(number + 1));
    MakeBoldGrey(label);
    label->move(16, top);
    return label;
}

}  // namespace

TFTessaraFirmWare::TFTessaraFirmWare(const std::string& appDir, const std::string& programDir, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TFTessaraFirmWare"));
    ui::ApplyTessaraStyle(this);
    // The editors ask before their OK moves PLC addresses the tags were exported with; the PLC side names them.
    documents::SetExportMoves([this](const std::vector<documents::NodeIo>& nodes, documents::ProfibusAreas areas,
                                     const std::vector<documents::TypedTag>* tags) {
        return plc::ExportMovesOf(ws_.ProjectDir, nodes, areas, tags);
    });
    setFixedSize(565, 257);
    setWindowTitle(kDesignedCaption);
    CreateControls();
    FormCreate(appDir, programDir);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

TFTessaraFirmWare::~TFTessaraFirmWare() {
    documents::SetExportMoves({});
}

void TFTessaraFirmWare::FormCreate(const std::string& appDir, const std::string& programDir) {
    // The settings file is read first: a copy an interrupted save of it left is offered back before that.
    ui::OfferLeftCopy(this, appDir + base::kPathSeparator + base::Workspace::kSettingsFileName,
                      base::kSettingsFileLimit);
    if (ws_.OpenWorkspace(appDir)) ShowProjectInCaption();
    if (!programDir.empty()) ws_.ProgramDir = programDir;
    ShowProjectInBody();
}

template <class Dialog>
Dialog& TFTessaraFirmWare::Made(Dialog*& dialog) {
    if (!dialog) dialog = new Dialog(ws_, this);
    return *dialog;
}

TFsaveproj& TFTessaraFirmWare::saveproj() {
    return Made(saveproj_);
}

TFAbout& TFTessaraFirmWare::about() {
    return Made(about_);
}

documents::TFpargen& TFTessaraFirmWare::pargen() {
    return Made(pargen_);
}

update::TFBootSer& TFTessaraFirmWare::bootSer() {
    return Made(bootSer_);
}

documents::TFDNet& TFTessaraFirmWare::dnet() {
    return Made(dnet_);
}

documents::TFDefByte& TFTessaraFirmWare::defByte() {
    return Made(defByte_);
}

check::TFCheck& TFTessaraFirmWare::check() {
    if (check_) return *check_;
    Made(check_).SetEditorOpener([this](const check::FindingTarget& target) { OpenEditorAt(target); });
    return *check_;
}

QPushButton* TFTessaraFirmWare::AddStepButton(const char* name, const QString& caption, int left, int top,
                                              ui::Glyph glyph) {
    auto* button = new QPushButton(ui::ToolIcon(glyph), caption, this);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(left, top, 145, 26);
    return button;
}

void TFTessaraFirmWare::CreateControls() {
    const int stepTops[] = {47, 91, 135, 179, 223};
    for (int i = 0; i < 5; ++i) AddStepLabel(this, i + 1, stepTops[i]);

    QPushButton* newButton = AddStepButton("New", QStringLiteral("New project"), 80, 36, ui::Glyph::NewFile);
    QPushButton* openButton = AddStepButton("open", QStringLiteral("Open project"), 232, 36, ui::Glyph::OpenFolder);
    btnPrmGen_ = AddStepButton("btn_Prm_Gen", QStringLiteral("Set Communication"), 80, 80);
    btnDNet_ = AddStepButton("Btn_DNET", QStringLiteral("DeviceNet Network"), 80, 124);
    btnDefByte_ = AddStepButton("btn_DefByte", QStringLiteral("Define Byte"), 232, 124);
    btnGsd_ = AddStepButton("btn_Gds", QStringLiteral("GSD File"), 80, 168);
    btnCheck_ = AddStepButton("btn_Check", QStringLiteral("Check Project"), 232, 168);
    QPushButton* createBin =
        AddStepButton("CreateBin", QStringLiteral("Update Device"), 80, 212, ui::Glyph::SendToDevice);

    auto* about = new QPushButton(ui::ToolIcon(ui::Glyph::About), QString(), this);
    about->setObjectName(QStringLiteral("about"));
    about->setGeometry(493, 21, 21, 19);
    about->setAccessibleName(QStringLiteral("About"));
    about->setToolTip(QStringLiteral("About"));
    auto* closeButton = new QPushButton(QStringLiteral("X"), this);
    closeButton->setObjectName(QStringLiteral("LbButton1"));
    closeButton->setGeometry(520, 21, 21, 19);
    closeButton->setAccessibleName(QStringLiteral("Close"));

    auto* link = new ui::LinkLabel(ui::kProductPageHost, this);
    link->setObjectName(QStringLiteral("Label1"));
    MakeBoldGrey(link);
    link->move(425, 223);
    link->adjustSize();

    // The open project in the free part of the body, right of the steps and clear of every designed control.
    projectPanel_ = new ProjectPanel(this);
    projectPanel_->setGeometry(392, 48, 165, 166);

    connect(newButton, &QPushButton::clicked, this, &TFTessaraFirmWare::NewaClick);
    connect(openButton, &QPushButton::clicked, this, &TFTessaraFirmWare::OpenaClick);
    for (QPushButton* step : {btnPrmGen_, btnDNet_, btnDefByte_, btnGsd_, btnCheck_}) {
        connect(step, &QPushButton::clicked, this, &TFTessaraFirmWare::btn_str_lng1aClick);
    }
    connect(createBin, &QPushButton::clicked, this, &TFTessaraFirmWare::CreateBinaClick);
    connect(about, &QPushButton::clicked, this, &TFTessaraFirmWare::AboutClick);
    connect(closeButton, &QPushButton::clicked, this, &TFTessaraFirmWare::LbButton1Click);
    connect(link, &ui::LinkLabel::clicked, this, &TFTessaraFirmWare::Label1Click);
    connect(projectPanel_, &ProjectPanel::copyExampleClicked, this, &TFTessaraFirmWare::CopyExampleClick);

    const QList<QWidget*> order = {newButton,  openButton, closeButton, createBin, about,
                                   btnPrmGen_, btnGsd_,    btnCheck_,   btnDNet_,  btnDefByte_};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

template <class Action>
void TFTessaraFirmWare::RunAction(Action&& action) {
    try {
        action();
    } catch (const std::exception& e) {
        ui::Messages().ShowUnhandled(this, QString::fromUtf8(e.what()));
    }
}

void TFTessaraFirmWare::ShowProjectInCaption() {
    setWindowTitle(kCaptionPrefix + Q(ws_.ProjectName));
}

void TFTessaraFirmWare::ShowProjectInBody() {
    projectPanel_->ShowProject(ws_, !base::FindExampleProject(ws_.ProgramDir).empty());
}

void TFTessaraFirmWare::NewaClick() {
    TFsaveproj& dialog = saveproj();
    dialog.EditMode = 0;
    dialog.DestDir = Q(ws_.ProjectsDir);
    if (dialog.exec() == QDialog::Accepted) {
        ShowProjectInCaption();
    } else {
        setWindowTitle(kCaptionPrefix);
    }
    ShowProjectInBody();
}

void TFTessaraFirmWare::OpenaClick() {
    QString dir = Q(ws_.ProjectDir);
    BrowseFolder(this, QStringLiteral("Select directory of project"), Q(ws_.ProjectsDir), dir);
    ws_.SelectProject(dir.toStdString());
    ShowProjectInCaption();
    ShowProjectInBody();
}

void TFTessaraFirmWare::btn_str_lng1aClick() {
    if (ws_.ProjectDir.empty()) {
        ui::Messages().ShowMessage(this, QStringLiteral("Project not valid"));
        return;
    }
    const QObject* step = sender();
    RunAction([&] {
        if (step == btnPrmGen_) pargen().exec();
        if (step == btnDNet_) dnet().exec();
        if (step == btnDefByte_) defByte().exec();
        if (step == btnGsd_) RunGsdStep();
        if (step == btnCheck_) check().exec();
    });
}

void TFTessaraFirmWare::RunGsdStep() {
    QString name = ui::Dialogs().SaveFileName(
        this, Q(ws_.ProjectDir), QStringLiteral("Generic Station Description (*.gsd)"), QStringLiteral("gsd"));
    if (name.isEmpty()) return;
    if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".gsd");
    const std::string refusal =
        base::ProjectFileRefusal(ws_.ProjectDir, QDir::toNativeSeparators(name).toStdString(), "GSD file");
    if (!refusal.empty()) {
        ui::Messages().ShowMessage(this, Q(refusal));
        return;
    }
    const gsd::GsdCounts counts = gsd::ReadGsdCounts(ws_.ProjectDir);
    if (!counts.doubts.empty()) {
        QString question;
        for (const std::string& doubt : counts.doubts) question += Q(doubt) + QLatin1Char(' ');
        if (!ui::Messages().AskYesNo(this, question + QStringLiteral("Write the GSD file anyway?"))) return;
    }
    gsd::WriteGsdFile(counts.sizes, name.toStdString());
}

void TFTessaraFirmWare::OpenEditorAt(const check::FindingTarget& target) {
    RunAction([&] {
        switch (target.document) {
            case check::FindingDocument::Pargen:
                pargen().OpenAtElement(Q(target.field));
                pargen().exec();
                break;
            case check::FindingDocument::DNetNet:
                dnet().OpenAtCell(target.index, target.column);
                dnet().exec();
                break;
            case check::FindingDocument::DefByte:
                defByte().OpenAtNode(target.index, target.output, target.byte);
                defByte().exec();
                break;
            case check::FindingDocument::None:
                break;
        }
    });
}

bool TFTessaraFirmWare::UpdateAllowedByCheck() {
    const check::ProjectCheck check = check::CheckProject(ws_.ProjectDir);
    if (!check.HasError()) return true;
    // A large project has hundreds of findings: the box shows the first ones and keeps to the screen, the
    // whole list is in its details.
    const size_t shown = std::min(check.findings.size(), kFindingsInQuestion);
    QString text = QStringLiteral("The project check found %1:\n").arg(Q(check::FindingsSummary(check)));
    for (size_t i = 0; i < shown; ++i) text += QStringLiteral("\n") + Shortened(FindingEntry(check.findings[i]));
    if (shown == check.findings.size()) {
        return ui::Messages().AskYesNo(this, text + QStringLiteral("\n\nUpdate the device anyway?"));
    }
    QString details;
    for (const check::Finding& f : check.findings) details += FindingEntry(f) + QStringLiteral("\n");
    text += QStringLiteral("\n... and %1 more. Check Project lists them all.").arg(check.findings.size() - shown);
    return ui::Messages().AskYesNoWithDetails(this, text + QStringLiteral("\n\nUpdate the device anyway?"), details);
}

void TFTessaraFirmWare::CreateBinaClick() {
    // Without a project the image would go to bin/bank.bin at the root of the file system.
    if (ws_.ProjectDir.empty()) {
        ui::Messages().ShowMessage(this, QStringLiteral("Project not valid"));
        return;
    }
    // Warnings do not stop an update; an error does unless the user chooses to go on.
    if (!UpdateAllowedByCheck()) return;
    // An error in the build or the write ends the sequence: the updater never runs on a stale image.
    RunAction([&] {
        const image::BankImage image = image::BuildBankImage(ws_.ProjectDir);
        image::WriteBankFile(ws_.ProjectDir, image);
        bootSer().exec();
    });
}

void TFTessaraFirmWare::AboutClick() {
    about().exec();
}

void TFTessaraFirmWare::LbButton1Click() {
    close();
}

void TFTessaraFirmWare::Label1Click() {
    ui::OpenProductPage();
}

void TFTessaraFirmWare::CopyExampleClick() {
    const std::string example = base::FindExampleProject(ws_.ProgramDir);
    try {
        if (example.empty()) {
            throw std::runtime_error("The example project was not found where the tool is installed (" +
                                     ws_.ProgramDir + ")");
        }
        ws_.SelectProject(base::CopyExampleProject(example, ws_.ProjectsDir));
        ShowProjectInCaption();
    } catch (const std::exception& e) {
        ui::Messages().ShowMessage(this, QString::fromUtf8(e.what()));
    }
    ShowProjectInBody();
}

void TFTessaraFirmWare::FormClose() {
    try {
        ws_.SaveLastProject();
    } catch (const std::exception& e) {
        // Told, but never trapped: the window closes all the same.
        ui::Messages().ShowMessage(this, QString::fromUtf8(e.what()));
    }
}

void TFTessaraFirmWare::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

}  // namespace tessara::app
