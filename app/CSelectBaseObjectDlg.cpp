#include "app/CSelectBaseObjectDlg.h"

#include "document/WorkingObjectFile.h"
#include "objects/ObjectCatalog.h"
#include "view/ObjectText.h"
#include "view/PlainImageToQt.h"

#include <QAbstractListModel>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelvane {

// The filtered list as the list view shows it: one row per shown object,
// its resource name as the text.
class CSelectBaseObjectDlg::ListModel final : public QAbstractListModel {
public:
    explicit ListModel(const BaseObjectList& list, QObject* parent) : QAbstractListModel(parent), list_(list) {}

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(list_.RowCount());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid() || static_cast<size_t>(index.row()) >= list_.RowCount())
            return {};
        return FromResourceName(list_.NameAt(static_cast<size_t>(index.row())));
    }

    // The list changed under the view (a new filter).
    void Reset()
    {
        beginResetModel();
        endResetModel();
    }

private:
    const BaseObjectList& list_;
};

// The preview control: the picture stretched to its display size inside a
// frame 4 pixels wider on every side; hidden when there is no picture.
class CSelectBaseObjectDlg::PreviewArea final : public QWidget {
public:
    explicit PreviewArea(const CSelectBaseObjectDlg& dialog) : dialog_(dialog)
    {
        setObjectName(QStringLiteral("preview"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const DisplaySize size = dialog_.ShownSize();
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        painter.drawImage(QRect(kPreviewMargin, kPreviewMargin, size.width, size.height), dialog_.ShownPreview());
    }

private:
    const CSelectBaseObjectDlg& dialog_;
};

CSelectBaseObjectDlg::CSelectBaseObjectDlg(const ObjectCatalog& catalog, WorkingObjectFile& working, QWidget* parent)
    : QDialog(parent), catalog_(catalog), working_(working), list_(catalog)
{
    setWindowTitle(tr("Select Base Object"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    filter_ = new QLineEdit;
    filter_->setObjectName(QStringLiteral("filter"));
    filter_->setPlaceholderText(tr("Filter by name"));
    filter_->setClearButtonEnabled(true);
    filter_->installEventFilter(this);

    model_ = new ListModel(list_, this);
    view_ = new QListView;
    view_->setObjectName(QStringLiteral("objectList"));
    view_->setModel(model_);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setUniformItemSizes(true); // thousands of rows of one height: no per-row measuring
    view_->setMinimumWidth(240);

    preview_ = new PreviewArea(*this);
    // The preview's place keeps room for the largest picture, so the dialog
    // does not change size from one object to the next.
    auto* previewPlace = new QWidget;
    previewPlace->setFixedSize(kPreviewMaxWidth + 2 * kPreviewMargin, kPreviewMaxHeight + 2 * kPreviewMargin);
    preview_->setParent(previewPlace);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));

    auto* left = new QVBoxLayout;
    left->addWidget(filter_);
    left->addWidget(view_);
    auto* right = new QVBoxLayout;
    right->addWidget(previewPlace);
    right->addStretch();
    right->addWidget(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);

    connect(filter_, &QLineEdit::textChanged, this, &CSelectBaseObjectDlg::OnFilterEdited);
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CSelectBaseObjectDlg::OnCurrentChanged);
    connect(view_, &QListView::doubleClicked, this, &CSelectBaseObjectDlg::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSelectBaseObjectDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSelectBaseObjectDlg::reject);

    ShowSelection();
    filter_->setFocus();
}

CSelectBaseObjectDlg::~CSelectBaseObjectDlg() = default;

void CSelectBaseObjectDlg::ShowSelection()
{
    updating_ = true;
    const std::optional<size_t> row = list_.SelectedRow();
    if (row) {
        const QModelIndex index = model_->index(static_cast<int>(*row));
        view_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        view_->scrollTo(index);
    } else {
        view_->selectionModel()->clearSelection();
    }
    updating_ = false;
    ok_->setEnabled(list_.RowCount() > 0);
    ShowChosen();
}

void CSelectBaseObjectDlg::ShowChosen()
{
    const CObjectEntry* chosen = list_.Chosen();
    if (chosen == shownObject_)
        return;
    shownObject_ = chosen;
    if (!chosen) {
        shownPicture_.reset();
        shownImage_ = QImage();
        shownSize_ = {};
        preview_->hide();
        return;
    }
    shownPicture_ = previews_.Preview(*chosen);
    shownImage_ = ToQImage(*shownPicture_);
    shownSize_ = PreviewDisplaySize(shownImage_.width(), shownImage_.height());
    preview_->setGeometry(0, 0, shownSize_.width + 2 * kPreviewMargin, shownSize_.height + 2 * kPreviewMargin);
    preview_->show();
    preview_->update();
}

void CSelectBaseObjectDlg::OnFilterEdited(const QString& text)
{
    // Names are matched as stored: the filter in their code page.
    list_.SetFilter(ToResourceName(text));
    model_->Reset();
    ShowSelection();
}

void CSelectBaseObjectDlg::OnCurrentChanged()
{
    if (updating_)
        return;
    const QModelIndex current = view_->currentIndex();
    list_.Select(current.isValid() ? std::optional<size_t>(static_cast<size_t>(current.row())) : std::nullopt);
    ShowChosen();
}

void CSelectBaseObjectDlg::SelectRow(size_t row)
{
    list_.Select(row);
    ShowSelection();
}

bool CSelectBaseObjectDlg::eventFilter(QObject* watched, QEvent* event)
{
    // The arrow and page keys in the filter box move through the list, so
    // typing and choosing need no change of focus.
    if (watched == filter_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            QKeyEvent copy(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(view_, &copy);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CSelectBaseObjectDlg::accept()
{
    CObjectEntry* chosen = list_.Chosen();
    if (!chosen)
        return;
    if (working_.CloneFrom(*chosen, catalog_) == WorkingObjectFile::CloneOutcome::Replaced)
        QDialog::accept();
}

} // namespace zelvane
