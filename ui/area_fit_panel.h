#pragma once

#include <QWidget>

#include "documents/area_fit.h"

class QLabel;

namespace tessara::ui {

class AreaBarWidget;

// The selected DeviceNet bytes against the two PROFIBUS areas: a heading, then for input and output a bar and
// its text ("5 of 16 bytes used"). A selection beyond its area shows its text in the overflow colour.
class AreaFitPanel : public QWidget {
    Q_OBJECT

public:
    explicit AreaFitPanel(QWidget* parent = nullptr);

    void SetFits(const documents::AreaFit& input, const documents::AreaFit& output);

private:
    struct Row {
        AreaBarWidget* bar = nullptr;
        QLabel* text = nullptr;
    };
    Row AddRow(int row, const char* name, const QString& caption);
    static void ShowFit(const Row& row, const documents::AreaFit& fit);

    Row input_;
    Row output_;
};

}  // namespace tessara::ui
