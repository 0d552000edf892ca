#include "documents/ui/make_tag_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/message_display.h"
#include "ui/window_style.h"

namespace tessara::documents {

namespace {

QLabel* Label(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

// "INT (2 bytes)": the size tells which types fit the chosen run.
QString TypeItemText(TagType type) {
    const size_t size = TagTypeSize(type);
    return QStringLiteral("%1 (%2 %3)")
        .arg(QString::fromLatin1(TagTypeName(type)))
        .arg(size)
        .arg(size == 1 ? QStringLiteral("byte") : QStringLiteral("bytes"));
}

}  // namespace

MakeTagDialog::MakeTagDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FMakeTag"));
    setWindowTitle(tr("Make tag"));
    setWindowModality(Qt::WindowModal);
    ui::ApplyTessaraStyle(this);

    auto* form = new QFormLayout(this);
    place_ = new QLabel(this);
    form->addRow(place_);
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("E_TagName"));
    form->addRow(Label(tr("&Name"), name_, this), name_);
    type_ = new QComboBox(this);
    type_->setObjectName(QStringLiteral("CB_TagType"));
    for (const TagType type : kTagTypes) {
        type_->addItem(TypeItemText(type), static_cast<int>(type));
    }
    form->addRow(Label(tr("&Type"), type_, this), type_);
    order_ = new QComboBox(this);
    order_->setObjectName(QStringLiteral("CB_TagByteOrder"));
    order_->addItem(tr("little-endian (DeviceNet's)"), static_cast<int>(ByteOrder::Little));
    order_->addItem(tr("big-endian"), static_cast<int>(ByteOrder::Big));
    form->addRow(Label(tr("&Byte order"), order_, this), order_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btn_TagOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btn_TagCancel"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &MakeTagDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MakeTagDialog::reject);
}

void MakeTagDialog::Ask(const TypedTag& proposal, const QString& place, Problem problem, Made made) {
    proposal_ = proposal;
    problem_ = std::move(problem);
    made_ = std::move(made);
    place_->setText(place);
    name_->setText(QString::fromStdString(proposal.name));
    type_->setCurrentIndex(type_->findData(static_cast<int>(proposal.type)));
    order_->setCurrentIndex(order_->findData(static_cast<int>(proposal.byteOrder)));
    name_->selectAll();
    name_->setFocus();
    open();
}

TypedTag MakeTagDialog::Chosen() const {
    TypedTag tag = proposal_;
    tag.name = name_->text().trimmed().toStdString();
    tag.type = static_cast<TagType>(type_->currentData().toInt());
    tag.byteOrder = static_cast<ByteOrder>(order_->currentData().toInt());
    return tag;
}

void MakeTagDialog::accept() {
    const TypedTag tag = Chosen();
    if (problem_) {
        if (const std::optional<QString> problem = problem_(tag)) {
            ui::Messages().ShowError(this, *problem);
            return;
        }
    }
    QDialog::accept();
    if (made_) made_(tag);
}

}  // namespace tessara::documents
