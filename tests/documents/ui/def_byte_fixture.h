#pragma once

// The byte selection editor on a project in a temporary folder, shown as the main window shows it, and the
// grid helpers its tests share.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>
#include <string>

#include "base/workspace.h"
#include "documents/ui/def_byte_dialog.h"
#include "support/temp_dir.h"
#include "support/ui/message_recorder.h"

enum Column { ColNumber, ColSelect, ColMnemonic, ColAddress, ColTag };

inline const std::string kRowN = "<row Select=\"N\" Mnemonic=\"\"/>";

inline std::string NetRow(int id, int in, int out, const std::string& mnemonic = "") {
    return "<row ID=\"" + std::to_string(id) + "\" NB_IN=\"" + std::to_string(in) + "\" NB_OUT=\"" +
           std::to_string(out) + "\" Mnemonic=\"" + mnemonic + "\"/>";
}

class DefByteDialog : public ::testing::Test {
protected:
    DefByteDialog() {
        ws.ProjectDir = dir.path();
        ws.BuildDocumentPaths();
        dialog = std::make_unique<tessara::documents::TFDefByte>(ws);
    }

    void Network(const std::string& rows) { dir.Write("DNET_Net.xml", "<DNET_Net>" + rows + "</DNET_Net>"); }

    // Every showing reloads, as when the main window runs the dialog again.
    void Show() {
        dialog->hide();
        dialog->show();
    }

    QComboBox* CB() const { return dialog->findChild<QComboBox*>("CB"); }
    QTableView* Grid(const char* name) const { return dialog->findChild<QTableView*>(name); }
    QTableView* In() const { return Grid("ASG_IN"); }
    QTableView* Out() const { return Grid("ASG_OUT"); }

    static QModelIndex Cell(QTableView* grid, int row, int column) { return grid->model()->index(row, column); }
    static QString Text(QTableView* grid, int row, int column) { return Cell(grid, row, column).data().toString(); }

    static void ClickSelect(QTableView* grid, int row) {
        const QModelIndex index = Cell(grid, row, ColSelect);
        grid->scrollTo(index);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
    }

    static void SpaceOnSelect(QTableView* grid, int row) {
        grid->setCurrentIndex(Cell(grid, row, ColSelect));
        QTest::keyClick(grid, Qt::Key_Space);
    }

    // Leaves the editor open, as a user who switches nodes in the middle of typing would.
    static void TypeMnemonic(QTableView* grid, int row, const QString& text) {
        const QModelIndex index = Cell(grid, row, ColMnemonic);
        grid->scrollTo(index);
        grid->setCurrentIndex(index);
        grid->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
    }

    TempDir dir;
    tessara::base::Workspace ws;
    MessageRecorder messages;
    std::unique_ptr<tessara::documents::TFDefByte> dialog;
};

// The "Select" column of a grid as one text, "YNNY".
inline QString Selections(QTableView* grid) {
    QString text;
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        text += grid->model()->index(row, ColSelect).data().toString();
    }
    return text;
}

class DefByteEditing : public DefByteDialog {
protected:
    void SetUp() override {
        Network(NetRow(5, 4, 2, "Valve 3") + NetRow(12, 3, 0));
        Show();
        QApplication::setActiveWindow(dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        In()->setFocus();
    }
    void Click(const char* button) { QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    void SelectCells(QTableView* grid, int top, int left, int bottom, int right) {
        grid->setCurrentIndex(Cell(grid, top, left));
        grid->selectionModel()->select(QItemSelection(Cell(grid, top, left), Cell(grid, bottom, right)),
                                       QItemSelectionModel::ClearAndSelect);
    }
};
