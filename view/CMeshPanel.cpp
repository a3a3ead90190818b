#include "view/CMeshPanel.h"

#include "report/ProgramFolders.h"
#include "scene/COGLTexture2D.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelvane {

namespace {

template <typename Widget>
Widget* Named(Widget* widget, const char* name, int controlId)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setProperty("controlId", controlId);
    return widget;
}

QLineEdit* CountField(const char* name, int controlId)
{
    auto* field = Named(new QLineEdit, name, controlId);
    field->setReadOnly(true);
    return field;
}

} // namespace

CMeshPanel::CMeshPanel(IPanelView& view, UndoHistory* history, QWidget* parent)
    : QWidget(parent), model_(view, history)
{
    setObjectName(QStringLiteral("meshPanel"));
    meshFaces_ = CountField("meshFaces", 1229);
    meshVertices_ = CountField("meshVertices", 1244);
    groups_ = Named(new QListWidget, "groups", 1227);
    groupFaces_ = CountField("groupFaces", 1230);
    groupVertices_ = CountField("groupVertices", 1245);
    textures_ = Named(new QListWidget, "textures", 1075);
    load_ = Named(new QPushButton(tr("&Load")), "loadTexture", 1076);
    useTexture_ = Named(new QCheckBox(tr("&Use Texture")), "useTexture", 1080);
    lighting_ = Named(new QCheckBox(tr("Effected by Lighting")), "effectedByLighting", 1226);

    auto* mesh = new QGroupBox(tr("Mesh"));
    auto* meshFields = new QFormLayout(mesh);
    meshFields->addRow(tr("Faces"), meshFaces_);
    meshFields->addRow(tr("Vertices"), meshVertices_);

    auto* group = new QGroupBox(tr("Groups"));
    auto* groupFields = new QFormLayout(group);
    groupFields->addRow(groups_);
    groupFields->addRow(tr("Faces"), groupFaces_);
    groupFields->addRow(tr("Vertices"), groupVertices_);

    auto* texture = new QGroupBox(tr("Textures"));
    auto* textureFields = new QVBoxLayout(texture);
    textureFields->addWidget(textures_);
    textureFields->addWidget(load_);
    textureFields->addWidget(useTexture_);
    textureFields->addWidget(lighting_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mesh);
    layout->addWidget(group, 1);
    layout->addWidget(texture, 1);

    connect(groups_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing_)
            model_.SelectGroup(row);
    });
    connect(textures_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing_)
            model_.SelectTexture(row);
    });
    connect(load_, &QPushButton::clicked, this, &CMeshPanel::OnLoad);
    connect(useTexture_, &QCheckBox::clicked, this, [this](bool checked) { model_.SetUseTexture(checked); });
    connect(lighting_, &QCheckBox::clicked, this, [this](bool checked) { model_.SetEffectedByLighting(checked); });
    model_.SetChangedHandler([this] { Refresh(); });
    Refresh();
}

void CMeshPanel::Refresh()
{
    showing_ = true;
    meshFaces_->setText(QString::number(model_.MeshFaces()));
    meshVertices_->setText(QString::number(model_.MeshVertices()));
    groups_->clear();
    // Mesh files name their groups in bytes of no stated code page.
    for (const MeshGroup& group : model_.Groups())
        groups_->addItem(QString::fromLatin1(group.name.data(), static_cast<qsizetype>(group.name.size())));
    groups_->setCurrentRow(model_.SelectedGroup());
    groupFaces_->setText(QString::number(model_.GroupFaces()));
    groupVertices_->setText(QString::number(model_.GroupVertices()));

    textures_->clear();
    for (const COGLTexture2D* texture : model_.Textures())
        textures_->addItem(QString::fromStdString(texture->Title()));
    textures_->setCurrentRow(model_.SelectedTexture());

    const bool editing = model_.PanelObject() != nullptr;
    useTexture_->setChecked(model_.UsesTexture());
    lighting_->setChecked(model_.EffectedByLighting());
    useTexture_->setEnabled(editing);
    lighting_->setEnabled(editing);
    showing_ = false;
}

void CMeshPanel::OnLoad()
{
    const std::optional<std::string> maps = FindProgramFolder("Maps");
    const QString path = QFileDialog::getOpenFileName(this, QString(),
                                                      maps ? QFile::decodeName(QByteArray::fromStdString(*maps)) : QString(),
                                                      tr("Windows Bitmap Files (*.bmp)"));
    // A file that does not load is left out; the image loader said why.
    if (!path.isEmpty())
        static_cast<void>(model_.LoadTexture(QFile::encodeName(path).toStdString()));
}

} // namespace zelvane
