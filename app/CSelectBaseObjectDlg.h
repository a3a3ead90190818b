#pragma once
// The "Select Base Object" dialog: every object of the game's catalog in a
// sorted list, a filter box above it for catalogs of thousands of objects, and
// the preview of the selected object. OK clones the chosen object into the
// working object file; when that fails the user is told and the dialog stays
// open. OK is disabled while nothing is listed.
//
// Previews are composed only for the object shown (and kept in a bounded
// cache), never for the whole catalog.

#include "document/BaseObjectList.h"
#include "document/PreviewCache.h"
#include "document/PreviewDisplaySize.h"

#include <QDialog>
#include <QImage>

#include <memory>

class QLineEdit;
class QListView;
class QPushButton;

namespace zelvane {

class ObjectCatalog;
class WorkingObjectFile;

class CSelectBaseObjectDlg : public QDialog {
    Q_OBJECT

public:
    CSelectBaseObjectDlg(const ObjectCatalog& catalog, WorkingObjectFile& working, QWidget* parent = nullptr);
    ~CSelectBaseObjectDlg() override;

    const BaseObjectList& List() const { return list_; }
    PreviewCache& Previews() { return previews_; }
    // The picture shown and its size on screen; null when none is shown.
    const QImage& ShownPreview() const { return shownImage_; }
    DisplaySize ShownSize() const { return shownSize_; }

    // Selects a row of the (filtered) list, as a click does.
    void SelectRow(size_t row);

    // Run by OK: clones the chosen object and closes the dialog when the clone
    // is the working object file; otherwise the dialog stays open.
    void accept() override;

private:
    class ListModel;
    class PreviewArea;

    void OnFilterEdited(const QString& text);
    void OnCurrentChanged();
    void ShowChosen();
    void ShowSelection();
    bool eventFilter(QObject* watched, QEvent* event) override;

    const ObjectCatalog& catalog_;
    WorkingObjectFile& working_;
    BaseObjectList list_;
    PreviewCache previews_;
    const CObjectEntry* shownObject_ = nullptr;
    std::shared_ptr<const PlainImage> shownPicture_;
    QImage shownImage_;
    DisplaySize shownSize_;
    bool updating_ = false;

    QLineEdit* filter_;
    ListModel* model_;
    QListView* view_;
    PreviewArea* preview_;
    QPushButton* ok_;
};

} // namespace zelvane
