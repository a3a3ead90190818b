#include "app/CInsertTextDlg.h"

#include "report/Reporter.h"
#include "scene/COGLText.h"
#include "scene/text/FontCatalog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelvane {

CInsertTextDlg::CInsertTextDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("insertText"));
    setWindowTitle(tr("3-D Text"));
    const TextRequest defaults;

    text_ = new QLineEdit(QString::fromStdString(defaults.text));
    text_->setObjectName(QStringLiteral("text"));
    text_->setMaxLength(static_cast<int>(COGLText::kMostCharacters));
    text_->selectAll();

    font_ = new QComboBox;
    font_->setObjectName(QStringLiteral("fontFamily"));
    font_->setEditable(true);
    for (const std::string& family : CurrentFontCatalog().Families())
        font_->addItem(QString::fromStdString(family));
    font_->setCurrentText(QString::fromStdString(defaults.fontFamily));

    depth_ = new QDoubleSpinBox;
    depth_->setObjectName(QStringLiteral("depth"));
    depth_->setRange(0.0, kLargestTextDepth);
    depth_->setDecimals(2);
    depth_->setSingleStep(0.1);
    depth_->setValue(defaults.depth);

    auto* fields = new QFormLayout;
    fields->addRow(tr("&Text:"), text_);
    fields->addRow(tr("&Font:"), font_);
    fields->addRow(tr("&Depth (letter heights):"), depth_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CInsertTextDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

TextRequest CInsertTextDlg::Request() const
{
    TextRequest request;
    request.text = text_->text().toStdString();
    request.fontFamily = font_->currentText().trimmed().toStdString();
    request.depth = static_cast<float>(depth_->value());
    return request;
}

void CInsertTextDlg::accept()
{
    if (const std::string why = WhyTextCannotBeMade(Request()); !why.empty()) {
        CurrentReporter().ShowMessage(why, MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    QDialog::accept();
}

} // namespace zelvane
