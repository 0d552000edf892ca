#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
namespace tessara::base {
class Workspace;
}

namespace tessara::app {

// The main window's view of the open project: its name and folder, or plainly that none is open and the
// steps then act on PROJECTS itself, with the offer to copy the example project.
class ProjectPanel : public QWidget {
    Q_OBJECT
public:
    explicit ProjectPanel(QWidget* parent = nullptr);

    // exampleAvailable: the tool found its example project, so the copy can be offered.
    void ShowProject(const base::Workspace& ws, bool exampleAvailable);

signals:
    void copyExampleClicked();

private:
    void ShowFolder(const QString& folder);

    QLabel* heading_;
    QLabel* name_;
    QLabel* folder_;
    QString shownFolder_;
    QPushButton* copyExample_;
};

}  // namespace tessara::app
