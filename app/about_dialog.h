#pragma once

#include <QDialog>

// The software's identity beside its picture, with the link to the product page.
class TFAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFAbout(QWidget* parent = nullptr);

    void Label4Click();
    void Label5Click();
};
