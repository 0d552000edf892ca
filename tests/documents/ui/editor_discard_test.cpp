#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <functional>
#include <memory>

#include "base/file_system.h"
#include "base/workspace.h"
#include "documents/ui/comm_settings_dialog.h"
#include "documents/ui/def_byte_dialog.h"
#include "documents/ui/dnet_network_dialog.h"
#include "support/temp_dir.h"
#include "support/ui/message_recorder.h"

using namespace tessara::base;
using namespace tessara::documents;

namespace {

using Kind = MessageRecorder::Kind;

const MessageRecorder::Entry kQuestion{Kind::Question, "Discard your changes?"};

// One editor: how it is made, one edit of the kind a user makes, and the document its OK would write.
struct Editor {
    const char* name;
    std::function<std::unique_ptr<EditorDialog>(const Workspace&)> make;
    std::function<void(EditorDialog&)> edit;
    std::string Workspace::*document;
};

void SetCell(EditorDialog& dialog, const char* grid, int row, int column, const QVariant& value, int role) {
    QAbstractItemModel* model = dialog.findChild<QTableView*>(grid)->model();
    ASSERT_TRUE(model->setData(model->index(row, column), value, role));
}

const Editor kEditors[] = {
    {"CommunicationSettings", [](const Workspace& ws) { return std::make_unique<TFpargen>(ws); },
     [](EditorDialog& d) { QTest::keyClicks(d.findChild<QLineEdit*>("E_Pro_ID"), "7"); }, &Workspace::PargenFile},
    {"DeviceNetNetwork", [](const Workspace& ws) { return std::make_unique<TFDNet>(ws); },
     [](EditorDialog& d) { SetCell(d, "StringGrid1", 1, 1, "6", Qt::EditRole); }, &Workspace::DNetNetFile},
    {"ByteSelection", [](const Workspace& ws) { return std::make_unique<TFDefByte>(ws); },
     [](EditorDialog& d) { SetCell(d, "ASG_IN", 1, 1, Qt::Checked, Qt::CheckStateRole); }, &Workspace::DefByteFile},
};

// The three ways to leave an editor without OK.
enum class Leave { Cancel, Escape, Close };

void LeaveBy(EditorDialog& dialog, Leave how) {
    switch (how) {
        case Leave::Cancel:
            QTest::mouseClick(dialog.findChild<QPushButton*>("bitbtn2"), Qt::LeftButton);
            break;
        case Leave::Escape:
            QTest::keyClick(&dialog, Qt::Key_Escape);
            break;
        case Leave::Close:
            dialog.close();
            break;
    }
}

class EditorDiscardTest : public ::testing::TestWithParam<std::tuple<Editor, Leave>> {
protected:
    EditorDiscardTest() {
        ws.ProjectDir = dir.path();
        ws.BuildDocumentPaths();
        dir.Write("DNET_Net.xml", "<DNET_Net><row ID=\"5\" NB_IN=\"4\" NB_OUT=\"2\" Mnemonic=\"\"/></DNET_Net>");
        dialog = editor().make(ws);
        dialog->show();
    }
    const Editor& editor() const { return std::get<0>(GetParam()); }
    Leave how() const { return std::get<1>(GetParam()); }
    // The document the editor would write; only the network editor's exists beforehand.
    std::string Document() const {
        const std::string& path = ws.*editor().document;
        return FileExists(path) ? ReadWholeFile(path) : std::string();
    }

    TempDir dir;
    MessageRecorder messages;
    Workspace ws;
    std::unique_ptr<EditorDialog> dialog;
};

TEST_P(EditorDiscardTest, WithoutChangesItClosesWithoutAsking) {
    LeaveBy(*dialog, how());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(messages.entries().empty());
}

TEST_P(EditorDiscardTest, WithChangesItAsksAndNoKeepsEditingWhileYesDropsThem) {
    const std::string before = Document();
    editor().edit(*dialog);

    LeaveBy(*dialog, how());  // the recorder answers No, the default
    EXPECT_EQ(messages.entries(), std::vector<MessageRecorder::Entry>{kQuestion});
    EXPECT_TRUE(dialog->isVisible());

    messages.clear();
    messages.Answer(true);
    LeaveBy(*dialog, how());
    EXPECT_EQ(messages.entries(), std::vector<MessageRecorder::Entry>{kQuestion});
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(Document(), before);
}

// An edit undone leaves nothing to lose.
TEST_P(EditorDiscardTest, AnEditUndoneIsNoChange) {
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    editor().edit(*dialog);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    LeaveBy(*dialog, how());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(messages.entries().empty());
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<Editor, Leave>>& info) {
    static const char* const kLeave[] = {"Cancel", "Escape", "Close"};
    return std::string(std::get<0>(info.param).name) + kLeave[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Editors, EditorDiscardTest,
                         ::testing::Combine(::testing::ValuesIn(kEditors),
                                            ::testing::Values(Leave::Cancel, Leave::Escape, Leave::Close)),
                         CaseName);

}  // namespace
