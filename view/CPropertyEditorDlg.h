#pragma once
// The modal "Property Editor" dialog: the property list in its simple or
// advanced view, the selected row's help text and its one value control, and
// "&Advanced"/"&Simple", "A&pply" and "OK". The close box (or Escape) is the
// only way to cancel. A value that cannot be stored (a number outside its
// field's range) is said so under the control and stored nowhere; OK stays
// open when saving fails. Everything it decides is PropertyEditorModel's; the
// dialog turns clicks and typing into the model's calls and shows its state.

#include "objects/PropertyEditorModel.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;

namespace zelvane {

class CObjectFile;

class CPropertyEditorDlg : public QDialog {
    Q_OBJECT

public:
    // Edits the first listed object of `file`, which must list one.
    CPropertyEditorDlg(CObjectFile& file, QWidget* parent = nullptr);

    // Loads the record and strings and shows the simple view. False (the user
    // has been told) when the record cannot be read: the dialog must not run.
    bool Open();

    // Whether Apply or OK saved changes into the object file.
    bool SavedChanges() const { return model_.SavedChanges(); }
    PropertyEditorModel& Model() { return model_; }

private:
    void FillList();
    void ShowRow();
    void ShowApply();
    // The selected row is the resource name, stored in the file's own bytes.
    bool ShowsResourceName() const;
    void OnRowSelected(int row);
    void OnTextEdited(const QString& text);
    void OnMultiLineChanged();
    void OnCheckClicked(bool checked);
    void OnListSelectionChanged(QListWidget* list);
    void OnToggleView();
    void OnApply();
    void OnOk();

    PropertyEditorModel model_;
    // True while the dialog fills its own controls: their change signals are
    // the program's, not the user's.
    bool showing_ = false;

    QListWidget* propertyList_;
    QPlainTextEdit* helpText_;
    QStackedWidget* valueControls_;
    QLineEdit* singleLine_;
    QListWidget* choiceList_;
    QCheckBox* checkBox_;
    QListWidget* flagsList_;
    QPlainTextEdit* multiLine_;
    QLabel* problem_;
    QPushButton* viewToggle_;
    QPushButton* apply_;
    QPushButton* ok_;
};

} // namespace zelvane
