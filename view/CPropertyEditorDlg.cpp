#include "view/CPropertyEditorDlg.h"

#include "objects/CObjectFile.h"
#include "view/ObjectText.h"
#include "view/PropertyEditorControls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <cassert>

namespace zelvane {

namespace {

namespace pe = property_editor;

// The page of the value stack for each control; page 0 is empty (no control).
int PageOf(ValueControl control)
{
    switch (control) {
    case ValueControl::SingleLineEdit: return 1;
    case ValueControl::ChoiceList: return 2;
    case ValueControl::CheckBox: return 3;
    case ValueControl::FlagsList: return 4;
    case ValueControl::MultiLineEdit: return 5;
    case ValueControl::None: break;
    }
    return 0;
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

int16_t FirstObjectId(CObjectFile& file)
{
    assert(!file.ListedObjects().empty());
    return file.ListedObjects().empty() ? 0 : file.ListedObjects().front()->DefinitionId();
}

} // namespace

CPropertyEditorDlg::CPropertyEditorDlg(CObjectFile& file, QWidget* parent)
    : QDialog(parent), model_(file.Container(), FirstObjectId(file))
{
    setWindowTitle(QString::fromLatin1(pe::kTitle));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    propertyList_ = Named(new QListWidget, "propertyList");
    propertyList_->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* properties = new QGroupBox(tr("Properties"));
    (new QVBoxLayout(properties))->addWidget(propertyList_);

    helpText_ = Named(new QPlainTextEdit, "helpText");
    helpText_->setReadOnly(true);
    auto* description = new QGroupBox(tr("Description"));
    (new QVBoxLayout(description))->addWidget(helpText_);

    singleLine_ = Named(new QLineEdit, "singleLineValue");
    choiceList_ = Named(new QListWidget, "choiceValue");
    choiceList_->setSelectionMode(QAbstractItemView::SingleSelection);
    checkBox_ = Named(new QCheckBox(tr("Boolean")), "booleanValue");
    flagsList_ = Named(new QListWidget, "flagsValue");
    flagsList_->setSelectionMode(QAbstractItemView::MultiSelection); // each click toggles an item
    multiLine_ = Named(new QPlainTextEdit, "multiLineValue");

    valueControls_ = new QStackedWidget;
    valueControls_->setObjectName(QStringLiteral("valueControls"));
    valueControls_->addWidget(new QWidget);
    for (QWidget* control : {static_cast<QWidget*>(singleLine_), static_cast<QWidget*>(choiceList_),
                             static_cast<QWidget*>(checkBox_), static_cast<QWidget*>(flagsList_),
                             static_cast<QWidget*>(multiLine_)}) {
        // The one-line controls sit at the top of their page, as in a list of fields.
        auto* page = new QWidget;
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(control);
        if (control == singleLine_ || control == checkBox_)
            layout->addStretch();
        valueControls_->addWidget(page);
    }
    // Why a typed value cannot be stored, while it cannot.
    problem_ = Named(new QLabel, "valueProblem");
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00000"));
    problem_->hide();
    auto* value = new QGroupBox(tr("Value"));
    auto* valueLayout = new QVBoxLayout(value);
    valueLayout->addWidget(valueControls_);
    valueLayout->addWidget(problem_);

    viewToggle_ = Named(new QPushButton(QString::fromLatin1(pe::ViewToggleCaption(false))), "viewToggle");
    apply_ = Named(new QPushButton(QString::fromLatin1(pe::kApplyCaption)), "apply");
    ok_ = Named(new QPushButton(QString::fromLatin1(pe::kOkCaption)), "ok");
    for (QPushButton* button : {viewToggle_, apply_})
        button->setAutoDefault(false);
    ok_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(viewToggle_);
    buttons->addWidget(apply_);
    buttons->addWidget(ok_);

    auto* right = new QVBoxLayout;
    right->addWidget(description, 2);
    right->addWidget(value, 3);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(properties, 3);
    layout->addLayout(right, 4);
    resize(470, 400);

    connect(propertyList_, &QListWidget::currentRowChanged, this, &CPropertyEditorDlg::OnRowSelected);
    connect(singleLine_, &QLineEdit::textEdited, this, &CPropertyEditorDlg::OnTextEdited);
    connect(multiLine_, &QPlainTextEdit::textChanged, this, &CPropertyEditorDlg::OnMultiLineChanged);
    connect(checkBox_, &QCheckBox::clicked, this, &CPropertyEditorDlg::OnCheckClicked);
    connect(choiceList_, &QListWidget::itemSelectionChanged, this, [this] { OnListSelectionChanged(choiceList_); });
    connect(flagsList_, &QListWidget::itemSelectionChanged, this, [this] { OnListSelectionChanged(flagsList_); });
    connect(viewToggle_, &QPushButton::clicked, this, &CPropertyEditorDlg::OnToggleView);
    connect(apply_, &QPushButton::clicked, this, &CPropertyEditorDlg::OnApply);
    connect(ok_, &QPushButton::clicked, this, &CPropertyEditorDlg::OnOk);
}

bool CPropertyEditorDlg::Open()
{
    if (!model_.Open())
        return false;
    FillList();
    return true;
}

void CPropertyEditorDlg::FillList()
{
    showing_ = true;
    viewToggle_->setText(QString::fromLatin1(pe::ViewToggleCaption(model_.AdvancedView())));
    propertyList_->clear();
    for (const std::string& item : model_.ListItems())
        propertyList_->addItem(QString::fromStdString(item));
    propertyList_->setCurrentRow(model_.SelectedIndex());
    showing_ = false;
    ShowRow();
}

void CPropertyEditorDlg::ShowRow()
{
    showing_ = true;
    helpText_->setPlainText(QString::fromStdString(model_.HelpText()));
    const ValueControl control = model_.VisibleControl();
    valueControls_->setCurrentIndex(PageOf(control));
    const PropertyValue& shown = model_.ControlValue();
    switch (control) {
    case ValueControl::SingleLineEdit:
        singleLine_->setText(ShowsResourceName() ? FromResourceName(shown.AsText()) : FromObjectText(shown.AsText()));
        singleLine_->setCursorPosition(0);
        break;
    case ValueControl::MultiLineEdit: multiLine_->setPlainText(FromObjectText(shown.AsText())); break;
    case ValueControl::CheckBox: checkBox_->setChecked(shown.Checked()); break;
    case ValueControl::ChoiceList:
    case ValueControl::FlagsList: {
        QListWidget* list = control == ValueControl::ChoiceList ? choiceList_ : flagsList_;
        list->clear();
        const std::vector<bool> selected = model_.SelectedItems();
        const std::vector<std::string> items = model_.ControlItems();
        for (size_t i = 0; i < items.size(); ++i) {
            auto* item = new QListWidgetItem(QString::fromStdString(items[i]), list);
            item->setSelected(i < selected.size() && selected[i]);
        }
        if (const QList<QListWidgetItem*> chosen = list->selectedItems(); !chosen.isEmpty())
            list->scrollToItem(chosen.front());
        break;
    }
    case ValueControl::None: break;
    }
    showing_ = false;
    ShowApply();
}

bool CPropertyEditorDlg::ShowsResourceName() const
{
    const PropertyDescriptor* row = model_.SelectedRow();
    return row && row->field == PropertyField::ResourceName;
}

void CPropertyEditorDlg::ShowApply()
{
    apply_->setEnabled(model_.ApplyEnabled());
    const std::string problem = model_.Problem();
    problem_->setText(QString::fromStdString(problem));
    problem_->setVisible(!problem.empty());
}

void CPropertyEditorDlg::OnRowSelected(int row)
{
    if (showing_)
        return;
    model_.SelectRow(row);
    ShowRow();
}

void CPropertyEditorDlg::OnTextEdited(const QString& text)
{
    model_.ValueChanged(PropertyValue::FromText(ShowsResourceName() ? ToResourceName(text) : ToObjectText(text)));
    ShowApply();
}

void CPropertyEditorDlg::OnMultiLineChanged()
{
    if (showing_)
        return;
    model_.ValueChanged(PropertyValue::FromText(ToObjectText(multiLine_->toPlainText())));
    ShowApply();
}

void CPropertyEditorDlg::OnCheckClicked(bool checked)
{
    model_.ValueChanged(PropertyValue::FromInteger(checked ? 1 : 0));
    ShowApply();
}

void CPropertyEditorDlg::OnListSelectionChanged(QListWidget* list)
{
    if (showing_)
        return;
    std::vector<bool> selected(static_cast<size_t>(list->count()));
    for (int i = 0; i < list->count(); ++i)
        selected[static_cast<size_t>(i)] = list->item(i)->isSelected();
    model_.ListSelectionChanged(selected);
    ShowApply();
}

void CPropertyEditorDlg::OnToggleView()
{
    model_.ToggleView();
    FillList();
}

void CPropertyEditorDlg::OnApply()
{
    // A failure has been shown; the dialog stays as it is, ready to try again.
    static_cast<void>(model_.Apply());
    ShowRow();
}

void CPropertyEditorDlg::OnOk()
{
    // A failure has been shown; the dialog stays open to mend it.
    if (model_.Ok() == kResOk) {
        accept();
        return;
    }
    ShowApply();
}

} // namespace zelvane
