#include "app/CImportOptionsDlg.h"

#include "view/EditorSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace zelvane {

namespace {

constexpr double kSmallestScale = 0.001;
constexpr double kLargestScale = 1000.0;

} // namespace

CImportOptionsDlg::CImportOptionsDlg(const ImportOptions& options, const QString& fileName, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("importOptions"));
    setWindowTitle(tr("Import Options"));

    auto* intro = new QLabel(tr("How \"%1\" comes into the scene. It stands on the floor in the middle of the "
                                "footprint cage, and turns about its own middle.")
                                 .arg(fileName));
    intro->setWordWrap(true);

    scale_ = new QDoubleSpinBox;
    scale_->setObjectName(QStringLiteral("importScale"));
    scale_->setRange(kSmallestScale, kLargestScale);
    scale_->setDecimals(3);
    scale_->setSingleStep(0.1);
    scale_->setSuffix(tr(" \u00D7 the plug-in's size"));
    scale_->setValue(options.scale);

    up_ = new QComboBox;
    up_->setObjectName(QStringLiteral("importUpAxis"));
    up_->addItem(tr("As the plug-in says"), static_cast<int>(ModelUpAxis::AsPlugin));
    up_->addItem(tr("Y is up"), static_cast<int>(ModelUpAxis::Y));
    up_->addItem(tr("Z is up (3D Studio)"), static_cast<int>(ModelUpAxis::Z));
    up_->setCurrentIndex(up_->findData(static_cast<int>(options.up)));

    fit_ = new QCheckBox(tr("&Fit to the footprint (as wide or deep as the cage)"));
    fit_->setObjectName(QStringLiteral("importFit"));
    fit_->setChecked(options.fitToFootprint);
    // Fitting decides the size; the scale only matters without it.
    scale_->setEnabled(!options.fitToFootprint);
    connect(fit_, &QCheckBox::toggled, scale_, [this](bool on) { scale_->setEnabled(!on); });

    auto* fields = new QFormLayout;
    fields->addRow(tr("&Scale:"), scale_);
    fields->addRow(tr("&Up axis:"), up_);
    fields->addRow(QString(), fit_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

ImportOptions CImportOptionsDlg::Options() const
{
    ImportOptions options;
    options.scale = static_cast<float>(scale_->value());
    options.up = static_cast<ModelUpAxis>(up_->currentData().toInt());
    options.fitToFootprint = fit_->isChecked();
    return options;
}

ImportOptions CImportOptionsDlg::Remembered()
{
    const auto settings = OpenEditorSettings();
    ImportOptions options;
    const double scale = settings->value(QStringLiteral("Import/Scale"), 1.0).toDouble();
    if (std::isfinite(scale) && scale >= kSmallestScale && scale <= kLargestScale)
        options.scale = static_cast<float>(scale);
    const int up = settings->value(QStringLiteral("Import/UpAxis"), 0).toInt();
    if (up >= 0 && up <= static_cast<int>(ModelUpAxis::Z))
        options.up = static_cast<ModelUpAxis>(up);
    options.fitToFootprint = settings->value(QStringLiteral("Import/FitToFootprint"), 0).toInt() != 0;
    return options;
}

void CImportOptionsDlg::Remember(const ImportOptions& options)
{
    const auto settings = OpenEditorSettings();
    settings->setValue(QStringLiteral("Import/Scale"), static_cast<double>(options.scale));
    settings->setValue(QStringLiteral("Import/UpAxis"), static_cast<int>(options.up));
    settings->setValue(QStringLiteral("Import/FitToFootprint"), options.fitToFootprint ? 1 : 0);
}

} // namespace zelvane
