#include "app/new_project_dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <filesystem>

#include "base/file_system.h"
#include "base/workspace.h"
#include "ui/message_display.h"
#include "ui/tool_icons.h"
#include "ui/window_style.h"

namespace tessara::app {

namespace {

// Characters that show nothing, or only change how their neighbours are shown: every format character
// (category Cf: text-direction marks and overrides, zero-width spaces and joiners, the byte order mark, the
// Arabic letter mark, tags), C1 controls, line and paragraph separators, and the other characters that fonts
// draw as nothing (Hangul fillers, variation selectors, the grapheme joiner, Khmer inherent vowels).
bool IsInvisible(char32_t u) {
    switch (QChar::category(u)) {
        case QChar::Other_Format:
        case QChar::Other_Control:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return true;
        default:
            break;
    }
    return u == 0x034F || u == 0x115F || u == 0x1160 || u == 0x17B4 || u == 0x17B5 || (u >= 0x180B && u <= 0x180F) ||
           u == 0x3164 || (u >= 0xFE00 && u <= 0xFE0F) || u == 0xFFA0 || (u >= 0xFFF0 && u <= 0xFFF8) ||
           (u >= 0xE0000 && u <= 0xE0FFF);
}

// Blanks at the ends of a name are lost when the settings file is read back, so the project would reopen as
// another; invisible characters make two names that look alike, or reorder what is shown, in every list of
// projects.
bool HasHiddenParts(const QString& name) {
    if (name.front().isSpace() || name.back().isSpace()) return true;
    const QList<uint> characters = name.toUcs4();
    return std::any_of(characters.begin(), characters.end(), [](uint u) { return IsInvisible(char32_t(u)); });
}

}  // namespace

TFsaveproj::TFsaveproj(base::Workspace& ws, QWidget* parent)
    : ReloadingDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ws_(ws) {
    setObjectName(QStringLiteral("TFsaveproj"));
    ui::ApplyTessaraStyle(this);
    setFixedSize(319, 91);

    label1_ = new QLabel(QStringLiteral("Project name"), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->move(16, 2);
    edit1_ = new QLineEdit(this);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    edit1_->setGeometry(16, 16, 297, 21);
    edit1_->setFrame(true);
    label1_->setBuddy(edit1_);

    bitbtn1_ = new QPushButton(ui::ToolIcon(ui::Glyph::Ok), QStringLiteral("OK"), this);
    bitbtn1_->setObjectName(QStringLiteral("bitbtn1"));
    bitbtn1_->setGeometry(92, 59, 69, 23);
    bitbtn2_ = new QPushButton(ui::ToolIcon(ui::Glyph::Cancel), QStringLiteral("Cancel"), this);
    bitbtn2_->setObjectName(QStringLiteral("bitbtn2"));
    bitbtn2_->setGeometry(164, 59, 69, 23);
    // Neither button answers Enter: the name is confirmed by a click only.
    for (QPushButton* button : {bitbtn1_, bitbtn2_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(bitbtn1_, &QPushButton::clicked, this, [this] {
        BitBtn1Click();
        accept();
    });
    connect(bitbtn2_, &QPushButton::clicked, this, [this] {
        BitBtn2Click();
        reject();
    });
}

void TFsaveproj::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFsaveproj::FormShow() {
    if (EditMode == 1) {
        setWindowTitle(QStringLiteral("Edit XML"));
        label1_->hide();
    } else {
        setWindowTitle(QStringLiteral("New project"));
        edit1_->clear();
        NewName.clear();
        label1_->show();
    }
    edit1_->setFocus();
}

void TFsaveproj::BitBtn1Click() {
    CloseAllowed = 1;
    if (EditMode == 1) return;
    NewName = edit1_->text();
    if (DestDir.isEmpty()) {
        ui::Messages().ShowMessage(this, QStringLiteral("directory destination not valid"));
        CloseAllowed = 0;
    }
    if (NewName.isEmpty()) {
        ui::Messages().ShowMessage(this, QStringLiteral("Name project not valid"));
        CloseAllowed = 0;
    } else if (!base::IsProjectName(base::ToNativeSeparators(NewName.toStdString()))) {
        // The settings file remembers the name on one line and the project must stay below PROJECTS.
        ui::Messages().ShowMessage(this,
                                   QStringLiteral("Name project not valid: it must name a folder inside PROJECTS, "
                                                  "without \"..\" and without control characters"));
        CloseAllowed = 0;
    } else if (HasHiddenParts(NewName)) {
        ui::Messages().ShowMessage(this, QStringLiteral("Name project not valid: it must not begin or end with a "
                                                        "blank, nor hold invisible or text-direction characters"));
        CloseAllowed = 0;
    }
    if (CloseAllowed == 1) CreateProject();
}

void TFsaveproj::CreateProject() {
    // Separators typed either way name the same nested folder, as the settings file reads them back.
    const std::string name = base::ToNativeSeparators(NewName.toStdString());
    const base::Workspace::Creation creation = ws_.CreateProject(DestDir.toStdString(), name);
    switch (creation.outcome) {
        case base::Workspace::Creation::Created:
            CloseAllowed = 1;
            return;
        case base::Workspace::Creation::AlreadyExists:
            ui::Messages().ShowMessage(this, QStringLiteral("Name project not valid because directory already exists"));
            break;
        case base::Workspace::Creation::Failed:
            // Say why, so the user knows what to correct; the name stays in the field.
            ui::Messages().ShowMessage(
                this, QStringLiteral("Cannot create directory %1. %2")
                          .arg(QString::fromStdString(creation.dir), QString::fromStdString(creation.reason)));
            break;
    }
    CloseAllowed = 0;
}

void TFsaveproj::BitBtn2Click() {
    CloseAllowed = 1;
}

void TFsaveproj::done(int result) {
    if (CloseAllowed == 0) return;
    QDialog::done(result);
}

}  // namespace tessara::app
