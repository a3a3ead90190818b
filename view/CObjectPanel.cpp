#include "view/CObjectPanel.h"

#include "report/Reporter.h"
#include "view/CPropertyEditorDlg.h"
#include "view/ObjectText.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zelvane {

namespace {

constexpr CageSide kSides[3] = {CageSide::Height, CageSide::Width, CageSide::Depth};

template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

CObjectPanel::CObjectPanel(COGLDoc& document, QWidget* parent) : QWidget(parent), model_(document)
{
    setObjectName(QStringLiteral("objectPanel"));
    name_ = Named(new QLineEdit, "catalogName");
    price_ = Named(new QLineEdit, "price");
    description_ = Named(new QPlainTextEdit, "description");
    for (QWidget* field : {static_cast<QWidget*>(name_), static_cast<QWidget*>(price_)})
        static_cast<QLineEdit*>(field)->setReadOnly(true);
    description_->setReadOnly(true);
    properties_ = Named(new QPushButton(tr("Properties")), "properties");

    auto* object = new QGroupBox(tr("Object"));
    auto* fields = new QFormLayout(object);
    fields->addRow(tr("Name"), name_);
    fields->addRow(tr("Price"), price_);
    fields->addRow(tr("Description"), description_);
    fields->addRow(QString(), properties_);

    const char* names[3] = {"cageHeight", "cageWidth", "cageDepth"};
    auto* cage = new QGroupBox(tr("Cage"));
    auto* cageFields = new QFormLayout(cage);
    const QString labels[3] = {tr("Height"), tr("Width"), tr("Depth")};
    for (int i = 0; i < 3; ++i) {
        cage_[i] = Named(new QSpinBox, names[i]);
        cage_[i]->setRange(kMinCageSide, MaxCageSide(kSides[i]));
        // Typed digits count once, when the number is complete (Enter or leaving the box).
        cage_[i]->setKeyboardTracking(false);
        cageFields->addRow(labels[i], cage_[i]);
        connect(cage_[i], &QSpinBox::valueChanged, this, [this, i](int value) {
            if (!showing_)
                model_.SetCageSide(kSides[i], value);
        });
    }

    auto* zoom = new QGroupBox(tr("Zoom"));
    auto* zoomButtons = new QHBoxLayout(zoom);
    zoom_ = new QButtonGroup(this);
    const char* zoomNames[3] = {"zoomNear", "zoomMedium", "zoomFar"};
    const QString zoomTexts[3] = {tr("Near"), tr("Medium"), tr("Far")};
    for (int i = 0; i < 3; ++i) {
        auto* button = Named(new QRadioButton(zoomTexts[i]), zoomNames[i]);
        zoom_->addButton(button, i + 1); // the preset's number
        zoomButtons->addWidget(button);
    }
    connect(zoom_, &QButtonGroup::idClicked, this, [this](int id) {
        if (!showing_)
            model_.SetZoom(static_cast<ZoomPreset>(id));
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(object);
    layout->addWidget(cage);
    layout->addWidget(zoom);
    layout->addStretch();

    connect(properties_, &QPushButton::clicked, this, &CObjectPanel::OnProperties);
    documentConnection_ = document.Changed().Connect([this](DocumentChanges changes) {
        if (changes & (kObjectFileChanged | kViewOptionsChanged))
            Refresh();
    });
    Refresh();
}

void CObjectPanel::Refresh()
{
    showing_ = true;
    const ObjectSummary shown = model_.Shown();
    name_->setText(FromObjectText(shown.name));
    name_->setCursorPosition(0);
    price_->setText(model_.HasObject() ? QString::number(shown.price) : QString());
    description_->setPlainText(FromObjectText(shown.description));
    for (int i = 0; i < 3; ++i)
        cage_[i]->setValue(model_.CageSideValue(kSides[i]));
    // Free zoom (the zoom tool's) checks none of the three.
    const ZoomPreset zoom = model_.Zoom();
    zoom_->setExclusive(false);
    for (QAbstractButton* button : zoom_->buttons())
        button->setChecked(zoom_->id(button) == static_cast<int>(zoom));
    zoom_->setExclusive(true);
    showing_ = false;
}

void CObjectPanel::OnProperties()
{
    const Result<CObjectFile*> file = model_.FileForProperties();
    if (!file) {
        CurrentReporter().ShowMessage(file.Message(), MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    CPropertyEditorDlg editor(**file, this);
    if (editor.Open()) {
        editor.exec();
        if (editor.SavedChanges())
            model_.NotePropertiesSaved();
    }
    // Shown again however the editor closed.
    if (const Status written = model_.Reread(); !written)
        CurrentReporter().ShowMessage(written.Message(), MessageIcon::Error, MessageButtons::Ok);
    Refresh();
}

} // namespace zelvane
