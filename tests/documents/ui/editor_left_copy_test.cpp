// An editor opening a document that an interrupted save may have cut offers the whole copy that save left.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <filesystem>
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

// One editor: the document it writes, a cut one and the whole copy, and what the editor shows of the copy.
struct Editor {
    const char* name;
    std::function<std::unique_ptr<EditorDialog>(const Workspace&)> make;
    const char* document;
    const char* copyContent;
    std::function<std::string(EditorDialog&)> shown;
    const char* shownOfCopy;
};

std::string Cell(EditorDialog& dialog, const char* grid, int row, int column) {
    const QAbstractItemModel* model = dialog.findChild<QTableView*>(grid)->model();
    return model->index(row, column).data().toString().toStdString();
}

const Editor kEditors[] = {
    {"CommunicationSettings", [](const Workspace& ws) { return std::make_unique<TFpargen>(ws); }, "pargen.xml",
     "<Par_Gen><PROFI_ID>21</PROFI_ID><PROFI_BAUD>10</PROFI_BAUD><PROFI_NB_IN>5</PROFI_NB_IN><PROFI_NB_OUT>1"
     "</PROFI_NB_OUT><PROFI_CANCEL_DATA>0</PROFI_CANCEL_DATA><DNET_DEV_ID>62</DNET_DEV_ID><DNET_BAUD>2</DNET_BAUD>"
     "<DNET_CANCEL_DATA>0</DNET_CANCEL_DATA></Par_Gen>",
     [](EditorDialog& d) { return d.findChild<QLineEdit*>("E_Pro_ID")->text().toStdString(); }, "21"},
    {"DeviceNetNetwork", [](const Workspace& ws) { return std::make_unique<TFDNet>(ws); }, "DNET_Net.xml",
     "<DNET_Net><row ID=\"9\" NB_IN=\"4\" NB_OUT=\"2\" Mnemonic=\"\"/></DNET_Net>",
     [](EditorDialog& d) { return Cell(d, "StringGrid1", 0, 1); }, "9"},
    {"ByteSelection", [](const Workspace& ws) { return std::make_unique<TFDefByte>(ws); }, "DefByte.xml",
     "<DefBytes><Nodo_DNET><ByteIN><row Select=\"Y\" Mnemonic=\"Level\"/></ByteIN><ByteOUT/></Nodo_DNET></DefBytes>",
     [](EditorDialog& d) { return Cell(d, "ASG_IN", 0, 2); }, "Level"},
};

class EditorLeftCopyTest : public ::testing::TestWithParam<Editor> {
protected:
    EditorLeftCopyTest() {
        ws.ProjectDir = dir.path();
        ws.BuildDocumentPaths();
        if (std::string(GetParam().document) != "DNET_Net.xml") {
            dir.Write("DNET_Net.xml", "<DNET_Net><row ID=\"5\" NB_IN=\"1\" NB_OUT=\"0\" Mnemonic=\"\"/></DNET_Net>");
        }
        document = dir.Write(GetParam().document, "<cut");
        copy = dir.Write(std::string(".") + GetParam().document + ".tessara-12", GetParam().copyContent);
        dialog = GetParam().make(ws);
    }
    MessageRecorder::Entry Offer() const {
        return {Kind::Question, "A save of \"" + document + "\" was interrupted, so it may be cut. \"" + copy +
                                    "\" holds the whole content it had before that save. Put this copy back in "
                                    "its place?"};
    }

    TempDir dir;
    MessageRecorder messages;
    Workspace ws;
    std::string document;
    std::string copy;
    std::unique_ptr<EditorDialog> dialog;
};

TEST_P(EditorLeftCopyTest, YesPutsTheCopyBackBeforeTheDocumentIsLoaded) {
    messages.Answer(true);
    dialog->show();
    EXPECT_EQ(messages.entries(), std::vector<MessageRecorder::Entry>{Offer()});
    EXPECT_EQ(ReadWholeFile(document), GetParam().copyContent);
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_EQ(GetParam().shown(*dialog), GetParam().shownOfCopy);
}

TEST_P(EditorLeftCopyTest, NoLeavesBothAndLoadsTheDocumentAsItIs) {
    dialog->show();  // the recorder answers No, the default
    ASSERT_FALSE(messages.entries().empty());
    EXPECT_EQ(messages.entries().front(), Offer());
    EXPECT_EQ(messages.entries().back().kind, Kind::Unhandled) << "the cut document is read and refused";
    EXPECT_EQ(ReadWholeFile(document), "<cut");
    EXPECT_EQ(ReadWholeFile(copy), GetParam().copyContent);
}

INSTANTIATE_TEST_SUITE_P(Editors, EditorLeftCopyTest, ::testing::ValuesIn(kEditors),
                         [](const ::testing::TestParamInfo<Editor>& info) { return std::string(info.param.name); });

}  // namespace
