#include "ui/area_fit_panel.h"

#include <QGridLayout>
#include <QLabel>

#include "documents/area_fit.h"
#include "ui/area_bar_widget.h"
#include "ui/window_style.h"

namespace tessara::ui {

AreaFitPanel::AreaFitPanel(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 4, 0, 4);
    grid->addWidget(HeadingLabel(QStringLiteral("Selected bytes against the PROFIBUS areas"), this), 0, 0, 1, 3);
    input_ = AddRow(1, "InputBar", QStringLiteral("Input"));
    output_ = AddRow(2, "OutputBar", QStringLiteral("Output"));
    grid->setColumnStretch(1, 1);
}

AreaFitPanel::Row AreaFitPanel::AddRow(int row, const char* name, const QString& caption) {
    auto* grid = static_cast<QGridLayout*>(layout());
    Row r{new AreaBarWidget(this), new QLabel(this)};
    r.bar->setObjectName(QLatin1String(name));
    r.bar->setAccessibleName(caption);
    r.text->setObjectName(QLatin1String(name) + QStringLiteral("Text"));
    auto* label = new QLabel(caption, this);
    label->setBuddy(r.bar);
    grid->addWidget(label, row, 0);
    grid->addWidget(r.bar, row, 1);
    grid->addWidget(r.text, row, 2);
    return r;
}

void AreaFitPanel::SetFits(const documents::AreaFit& input, const documents::AreaFit& output) {
    ShowFit(input_, input);
    ShowFit(output_, output);
}

void AreaFitPanel::ShowFit(const Row& row, const documents::AreaFit& fit) {
    row.bar->SetFit(fit);
    row.text->setText(QString::fromStdString(documents::AreaFitText(fit)));
    QPalette palette;  // no colour of its own: the window's
    if (documents::BytesBeyondArea(fit) > 0) palette.setColor(QPalette::WindowText, AreaOverflowColour());
    row.text->setPalette(palette);
}

}  // namespace tessara::ui
