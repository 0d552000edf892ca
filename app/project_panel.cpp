#include "app/project_panel.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include "base/file_system.h"
#include "base/workspace.h"
#include "ui/tool_icons.h"
#include "ui/window_style.h"

namespace tessara::app {

namespace {

// A deep folder keeps its first line and its last lines, where the project's own name is.
constexpr qsizetype kMaxFolderLines = 4;

QLabel* AddLabel(QVBoxLayout* layout, const char* name) {
    auto* label = new QLabel(layout->parentWidget());
    label->setObjectName(QLatin1String(name));
    layout->addWidget(label);
    return label;
}

// A path broken after its separators into lines that fit `width`; a part too long for a line is elided.
QStringList FolderLines(const QString& path, const QFontMetrics& metrics, int width) {
    const QChar separator = QChar::fromLatin1(base::kPathSeparator);
    QStringList lines;
    QString line;
    qsizetype start = 0;
    while (start < path.size()) {
        const qsizetype end = path.indexOf(separator, start);
        const QString part = path.mid(start, end < 0 ? -1 : end - start + 1);
        start = end < 0 ? path.size() : end + 1;
        if (!line.isEmpty() && metrics.horizontalAdvance(line + part) > width) {
            lines << metrics.elidedText(line, Qt::ElideMiddle, width);
            line.clear();
        }
        line += part;
    }
    if (!line.isEmpty()) lines << metrics.elidedText(line, Qt::ElideMiddle, width);
    if (lines.size() > kMaxFolderLines) {
        lines = QStringList{lines.first(), QStringLiteral("...")} + lines.mid(lines.size() - kMaxFolderLines + 2);
    }
    return lines;
}

}  // namespace

ProjectPanel::ProjectPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ProjectPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    heading_ = AddLabel(layout, "LabelProject");
    ui::MakeBold(heading_);
    name_ = AddLabel(layout, "LabelProjectName");
    name_->setWordWrap(true);
    folder_ = AddLabel(layout, "LabelProjectDir");
    folder_->setWordWrap(true);
    // The whole folder is copied from the label's menu. Not by selecting the text: a selectable label keeps a
    // text document of its own, which for these labels made a tenth of the window's start.
    auto* copyFolder = new QAction(QStringLiteral("Copy folder"), folder_);
    copyFolder->setObjectName(QStringLiteral("actCopyFolder"));
    connect(copyFolder, &QAction::triggered, this, [this] { QGuiApplication::clipboard()->setText(shownFolder_); });
    folder_->addAction(copyFolder);
    folder_->setContextMenuPolicy(Qt::ActionsContextMenu);
    copyExample_ = new QPushButton(ui::ToolIcon(ui::Glyph::NewFile), QStringLiteral("Copy the example project"), this);
    copyExample_->setObjectName(QStringLiteral("btn_CopyExample"));
    copyExample_->setToolTip(QStringLiteral("Copies the example project Plant1 into PROJECTS and opens it"));
    layout->addWidget(copyExample_);
    layout->addStretch();
    connect(copyExample_, &QPushButton::clicked, this, &ProjectPanel::copyExampleClicked);
}

void ProjectPanel::ShowProject(const base::Workspace& ws, bool exampleAvailable) {
    const bool open = !ws.ProjectDir.empty() && ws.ProjectDir != ws.ProjectsDir;
    QString name = QString::fromStdString(ws.ProjectName);
    if (name.startsWith(QChar::fromLatin1(base::kPathSeparator))) name.remove(0, 1);
    if (open) {
        heading_->setText(QStringLiteral("Current project"));
        name_->setText(fontMetrics().elidedText(name, Qt::ElideMiddle, width()));
        name_->setToolTip(name);
        ShowFolder(QString::fromStdString(ws.ProjectDir));
    } else if (ws.ProjectDir.empty()) {
        heading_->setText(QStringLiteral("No project open"));
        name_->setText(QStringLiteral("The project's folder is gone: create or open a project."));
        name_->setToolTip(QString());
        ShowFolder(QString());
    } else {
        heading_->setText(QStringLiteral("No project open"));
        name_->setText(QStringLiteral("The steps act on PROJECTS itself:"));
        name_->setToolTip(QString());
        ShowFolder(QString::fromStdString(ws.ProjectsDir));
    }
    QFont nameFont = name_->font();
    nameFont.setBold(open);  // the project's name stands out; the notes of the other states do not
    name_->setFont(nameFont);
    copyExample_->setVisible(!open && exampleAvailable);
}

void ProjectPanel::ShowFolder(const QString& folder) {
    folder_->setText(FolderLines(folder, folder_->fontMetrics(), width()).join(QLatin1Char('\n')));
    folder_->setToolTip(folder);
    shownFolder_ = folder;
    folder_->setVisible(!folder.isEmpty());
}

}  // namespace tessara::app
