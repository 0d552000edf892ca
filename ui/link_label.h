#pragma once

#include <QLabel>

namespace tessara::ui {

// A label that acts as a link: hand cursor, `clicked` on a left click.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace tessara::ui
