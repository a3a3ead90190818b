#pragma once
// Object ▸ "Render Sprites from Scene...": a check box per object the user
// added to the scene (all on), how far the chosen ones reach beyond the
// object's tiles and how large the sprites will be, the working object's
// picture as it is now, and
// OK, which renders the chosen objects into the object's sprites with a
// progress dialog whose Cancel leaves the working object file as it was. The
// dialog closes once the sprites are written; after a cancel or a failure it
// stays open.

#include "document/RenderSpritesModel.h"

#include <QDialog>
#include <QImage>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace zelvane {

class COGLView;

class CRenderSpritesDlg : public QDialog {
    Q_OBJECT

public:
    // The view's document's scene is rendered in the view's context into the
    // document's working object file.
    explicit CRenderSpritesDlg(COGLView& view, QWidget* parent = nullptr);
    ~CRenderSpritesDlg() override;

    RenderSpritesModel& Model() { return model_; }
    // The working object's picture (the preview's image 10) as shown; null
    // without an object.
    const QImage& ShownPreview() const { return preview_; }
    // What the last render did (Failed before one).
    const BakeResult& LastResult() const { return result_; }

    // Run by OK: renders, and closes the dialog when the sprites are written.
    void accept() override;

private:
    class Progress;

    void ShowPreview();
    void ShowMeasure();

    COGLView& view_;
    RenderSpritesModel model_;
    BakeResult result_;
    QImage preview_;
    QLabel* picture_;
    QListWidget* list_;
    QCheckBox* dither_;
    QLabel* measure_;
    QPushButton* ok_;
};

} // namespace zelvane
