#pragma once

#include <QUndoStack>

#include "documents/comm_settings.h"
#include "documents/ui/editor_dialog.h"
#include "documents/ui/loaded_files.h"
#include "documents/xml_document.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
namespace tessara::base {
class Workspace;
}

namespace tessara::documents {

// "SET COMMUNICATION": edits pargen.xml of the current project. Each showing reloads the document; OK checks
// the four numeric fields and rewrites the document; Cancel writes nothing.
class TFpargen : public EditorDialog {
    Q_OBJECT

public:
    explicit TFpargen(const base::Workspace& ws, QWidget* parent = nullptr);

    // Fills the controls from the defaults and the project's pargen.xml.
    void FormShow() override;
    // OK: checks, writes the document and closes; a refusal or a failed save leaves the dialog open.
    void BitBtn1Click();
    // Shows the first field out of range and returns false; true when all are in range.
    bool CheckSettings();
    // Asks before new byte counts move PLC addresses the tags were exported with.
    bool MaySaveMovingAddresses();

    // What the editable controls hold, as typed: what undo and redo step between.
    struct ControlState {
        QString proId, proIn, proOut, dnetId, dnetBaud;
        bool proCancel = false, dnetCancel = false;
        bool operator==(const ControlState&) const = default;
    };
    ControlState Capture() const;
    void Restore(const ControlState& state);

    // The next showing puts the focus on the control of this pargen.xml element ("PROFI_BAUD"), where a
    // finding of the project check is mended.
    void OpenAtElement(const QString& element);

protected:
    void showEvent(QShowEvent* event) override;
    const QUndoStack& Steps() const override { return undo_; }
    // Ctrl+Z and Ctrl+Y in a field go to the dialog's steps, not to the field's own undo.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FocusPendingElement();
    void BuildProfibusFrame();
    void BuildDeviceNetFrame();
    void ShowSettings(const CommSettings& settings);
    // What the controls hold now.
    CommSettings Settings() const;
    void BuildUndo();
    // Records the user's change of one control as a step; typing in the same control joins the step.
    void RecordChange(int control);

    const base::Workspace& ws_;
    XmlDocument XML1;
    LoadedFiles loaded_;
    QUndoStack undo_;
    ControlState shown_;
    bool restoring_ = false;

    QGroupBox* GroupBox2;
    QLineEdit* E_Pro_ID;
    QComboBox* CB_Pro_Baud;
    QLineEdit* E_Pro_IN;
    QLineEdit* E_Pro_Out;
    QCheckBox* CB_Pro_CancelData;
    QGroupBox* GroupBox1;
    QLineEdit* E_DNET_ID;
    QComboBox* CB_DNET_Baud;
    QCheckBox* CB_DNET_CancelData;
    QPushButton* bitbtn1;
    QPushButton* bitbtn2;
    QString pendingElement_;
};

}  // namespace tessara::documents
