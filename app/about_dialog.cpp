#include "app/about_dialog.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>

#include "base/tool_version.h"
#include "base/workspace.h"
#include "ui/controls.h"
#include "ui/link_label.h"
#include "ui/tool_icons.h"
#include "ui/window_style.h"

namespace tessara::app {

namespace {

const QString kContactMail = QStringLiteral("support@kestrane.com");

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, int left, int top) {
    return ui::PlaceFittedControl<QLabel>(parent, name, text, QPoint(left, top));
}

ui::LinkLabel* AddLink(QWidget* parent, const char* name, const QString& text, int left, int top) {
    auto* link = new ui::LinkLabel(text, parent);
    link->setObjectName(QLatin1String(name));
    link->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    link->move(left, top);
    link->adjustSize();
    return link;
}

}  // namespace

TFAbout::TFAbout(const base::Workspace& ws, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowCloseButtonHint), ws_(ws) {
    setObjectName(QStringLiteral("TFAbout"));
    setWindowTitle(QStringLiteral("About..."));
    ui::ApplyTessaraStyle(this);
    setFixedSize(421, 152);

    auto* image2 = new ui::LinkLabel(QString(), this);
    image2->setObjectName(QStringLiteral("Image2"));
    image2->setGeometry(32, 24, 81, 81);
    image2->setPixmap(QPixmap(QStringLiteral(":/about_picture.png")));
    image2->setScaledContents(true);
    image2->setAccessibleName(QStringLiteral("Tessara picture, opens the product page"));
    connect(image2, &ui::LinkLabel::clicked, this, &TFAbout::Label4Click);

    QLabel* title = AddLabel(this, "Label1", QStringLiteral("Software Tessara "), 128, 24);
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSize(10);
    title->setFont(bold);
    title->adjustSize();  // fitted to the 8 pt text before: the bold 10 pt title was cut
    AddLabel(this, "Label2", QStringLiteral("DeviceNet Master / PROFIBUS Slave - Converter"), 128, 39);
    AddLabel(this, "Label6", QStringLiteral("Software Code : "), 128, 62);
    AddLabel(this, "Label9", QStringLiteral("SW48210"), 240, 62);
    AddLabel(this, "Label3", QStringLiteral("Version :"), 128, 77);
    AddLabel(this, "Label10", QString::fromLatin1(base::ToolVersion()), 240, 77);
    AddLabel(this, "Label8", QStringLiteral("Document Code :"), 128, 93);
    AddLabel(this, "Label12", QStringLiteral("MN48210"), 240, 93);

    ui::LinkLabel* label4 = AddLink(this, "Label4", ui::kProductPageHost, 315, 138);
    connect(label4, &ui::LinkLabel::clicked, this, &TFAbout::Label4Click);
    ui::LinkLabel* label5 = AddLink(this, "Label5", kContactMail, 272, 59);
    label5->hide();
    connect(label5, &ui::LinkLabel::clicked, this, &TFAbout::Label5Click);

    auto* ok = new QPushButton(ui::ToolIcon(ui::Glyph::Ok), QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("LbButton1"));
    ok->setGeometry(32, 115, 81, 22);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // Where MASTER, PROJECTS and the settings file are kept, since that moves for an installed tool.
    workspaceLabel_ = new QLabel(this);
    workspaceLabel_->setObjectName(QStringLiteral("LabelWorkspace"));
    workspaceLabel_->setGeometry(128, 112, 285, 22);
    workspaceLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void TFAbout::showEvent(QShowEvent* event) {
    const QString folder = QString::fromStdString(ws_.AppDir);
    workspaceLabel_->setToolTip(folder);
    workspaceLabel_->setText(workspaceLabel_->fontMetrics().elidedText(QStringLiteral("Workspace: ") + folder,
                                                                       Qt::ElideMiddle, workspaceLabel_->width()));
    QDialog::showEvent(event);
}

void TFAbout::Label4Click() {
    ui::OpenProductPage();
}

void TFAbout::Label5Click() {
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + kContactMail));
}

}  // namespace tessara::app
