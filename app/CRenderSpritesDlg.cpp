#include "app/CRenderSpritesDlg.h"

#include "document/PreviewCache.h"
#include "document/PreviewDisplaySize.h"
#include "document/WorkingObjectFile.h"
#include "report/Reporter.h"
#include "document/COGLDoc.h"
#include "view/COGLView.h"
#include "view/PlainImageToQt.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelvane {

// The bake's progress in a modal progress dialog. Showing it runs the event
// loop, in which the main window may paint with other contexts (or the view
// its own): the view's context is made current again before the bake goes on.
class CRenderSpritesDlg::Progress final : public IBakeProgress {
public:
    Progress(COGLView& view, QWidget* parent) : view_(view), dialog_(parent)
    {
        dialog_.setObjectName(QStringLiteral("renderProgress"));
        dialog_.setWindowTitle(tr("Render Sprites from Scene"));
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(0);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        dialog_.setLabelText(tr("Rendering..."));
        dialog_.show();
    }

    void Step(int done, int total, std::string_view what) override
    {
        dialog_.setMaximum(total);
        dialog_.setLabelText(QString::fromUtf8(what.data(), static_cast<qsizetype>(what.size())));
        dialog_.setValue(done);
        Regain();
    }

    bool Cancelled() override
    {
        QCoreApplication::processEvents();
        Regain();
        return dialog_.wasCanceled();
    }

private:
    static QString tr(const char* text) { return QCoreApplication::translate("CRenderSpritesDlg", text); }
    void Regain() { view_.makeCurrent(); }

    COGLView& view_;
    QProgressDialog dialog_;
};

CRenderSpritesDlg::CRenderSpritesDlg(COGLView& view, QWidget* parent)
    : QDialog(parent), view_(view), model_(*view.Document().Scene(), view.Document().WorkingObject())
{
    setObjectName(QStringLiteral("renderSpritesDialog"));
    setWindowTitle(tr("Render Sprites from Scene"));

    const CObjectEntry* object = model_.Object();
    auto* intro = new QLabel(object ? tr("Render these objects of the scene into the sprites of \"%1\":")
                                          .arg(QString::fromStdString(object->Summary().name))
                                    : tr("Render these objects of the scene into the object's sprites:"));
    intro->setWordWrap(true);

    list_ = new QListWidget;
    list_->setObjectName(QStringLiteral("objectList"));
    for (const RenderSpritesModel::Choice& choice : model_.Choices()) {
        auto* item = new QListWidgetItem(QString::fromStdString(choice.label), list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(choice.chosen ? Qt::Checked : Qt::Unchecked);
    }
    list_->setMinimumWidth(220);

    dither_ = new QCheckBox(tr("&Dither the colours"));
    dither_->setObjectName(QStringLiteral("dither"));

    // How far the chosen objects reach beyond the tiles, and the sprites' size.
    measure_ = new QLabel;
    measure_->setObjectName(QStringLiteral("renderMeasure"));
    measure_->setWordWrap(true);

    picture_ = new QLabel;
    picture_->setObjectName(QStringLiteral("preview"));
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFixedSize(kPreviewMaxWidth, kPreviewMaxHeight);
    picture_->setStyleSheet(QStringLiteral("background: white"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));

    auto* left = new QVBoxLayout;
    left->addWidget(intro);
    left->addWidget(list_, 1);
    left->addWidget(measure_);
    left->addWidget(dither_);
    auto* right = new QVBoxLayout;
    right->addWidget(picture_);
    right->addStretch();
    right->addWidget(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);

    connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        model_.SetChosen(static_cast<size_t>(list_->row(item)), item->checkState() == Qt::Checked);
        ok_->setEnabled(model_.ChosenCount() > 0);
        ShowMeasure();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &CRenderSpritesDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRenderSpritesDlg::reject);
    ok_->setEnabled(model_.ChosenCount() > 0);
    ShowMeasure();
    ShowPreview();
}

void CRenderSpritesDlg::ShowMeasure()
{
    const std::string text = RenderSpritesModel::MeasureText(model_.MeasureChosen());
    measure_->setText(QString::fromStdString(text));
    measure_->setVisible(!text.empty());
}

CRenderSpritesDlg::~CRenderSpritesDlg() = default;

void CRenderSpritesDlg::ShowPreview()
{
    const CObjectEntry* object = model_.Object();
    preview_ = object ? ToQImage(ComposeListPreview(*object)) : QImage();
    if (preview_.isNull()) {
        picture_->setText(tr("No base object"));
        return;
    }
    const DisplaySize size = PreviewDisplaySize(preview_.width(), preview_.height());
    picture_->setPixmap(QPixmap::fromImage(
        preview_.scaled(size.width, size.height, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void CRenderSpritesDlg::accept()
{
    if (const std::string why = model_.WhyNotReady(); !why.empty()) {
        CurrentReporter().ShowMessage(why, MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    model_.Options().dither = dither_->isChecked();
    setEnabled(false);
    // The view must not draw between the bake's renders: they share its context.
    view_.setUpdatesEnabled(false);
    view_.BeginGL();
    {
        Progress progress(view_, this);
        result_ = model_.Render(&progress);
    }
    view_.EndGL();
    view_.setUpdatesEnabled(true);
    view_.update();
    setEnabled(true);
    ShowPreview();
    if (result_.outcome == BakeOutcome::Failed)
        CurrentReporter().ShowMessage(result_.error, MessageIcon::Error, MessageButtons::Ok);
    if (result_.outcome == BakeOutcome::Written)
        QDialog::accept();
}

} // namespace zelvane
