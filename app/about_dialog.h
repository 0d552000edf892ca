#pragma once

#include <QDialog>

class QLabel;
namespace tessara::base {
class Workspace;
}

namespace tessara::app {

// The software's identity beside its picture, with the link to the product page.
class TFAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFAbout(const base::Workspace& ws, QWidget* parent = nullptr);

    void Label4Click();
    void Label5Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    const base::Workspace& ws_;
    QLabel* workspaceLabel_;
};

}  // namespace tessara::app
