#pragma once

#include <QDialog>

class QLabel;
class Workspace;

// The software's identity beside its picture, with the link to the product page.
class TFAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFAbout(const Workspace& ws, QWidget* parent = nullptr);

    void Label4Click();
    void Label5Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    const Workspace& ws_;
    QLabel* workspaceLabel_;
};
