#include "view/CMeshPanel.h"

#include "report/ProgramFolders.h"
#include "report/Reporter.h"
#include "scene/COGLTexture2D.h"
#include "view/EditorSettings.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelvane {

namespace {

template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLineEdit* CountField(const char* name)
{
    auto* field = Named(new QLineEdit, name);
    field->setReadOnly(true);
    return field;
}

} // namespace

CMeshPanel::CMeshPanel(COGLDoc& document, QWidget* parent) : QWidget(parent), model_(document)
{
    setObjectName(QStringLiteral("meshPanel"));
    meshFaces_ = CountField("meshFaces");
    meshVertices_ = CountField("meshVertices");
    groups_ = Named(new QListWidget, "groups");
    groupFaces_ = CountField("groupFaces");
    groupVertices_ = CountField("groupVertices");
    faceGroups_ = Named(new QListWidget, "faceGroups");
    replaceGroupTexture_ = Named(new QPushButton(tr("&Replace Texture...")), "replaceGroupTexture");
    removeGroupTexture_ = Named(new QPushButton(tr("Re&move Texture")), "removeGroupTexture");
    textures_ = Named(new QListWidget, "textures");
    load_ = Named(new QPushButton(tr("&Load")), "loadTexture");
    useTexture_ = Named(new QCheckBox(tr("&Use Texture")), "useTexture");
    lighting_ = Named(new QCheckBox(tr("Effected by Lighting")), "effectedByLighting");

    auto* mesh = new QGroupBox(tr("Mesh"));
    auto* meshFields = new QFormLayout(mesh);
    meshFields->addRow(tr("Faces"), meshFaces_);
    meshFields->addRow(tr("Vertices"), meshVertices_);

    auto* group = new QGroupBox(tr("Groups"));
    auto* groupFields = new QFormLayout(group);
    groupFields->addRow(groups_);
    groupFields->addRow(tr("Faces"), groupFaces_);
    groupFields->addRow(tr("Vertices"), groupVertices_);

    auto* materials = new QGroupBox(tr("Materials"));
    auto* materialFields = new QVBoxLayout(materials);
    materialFields->addWidget(faceGroups_);
    auto* groupButtons = new QHBoxLayout;
    groupButtons->addWidget(replaceGroupTexture_);
    groupButtons->addWidget(removeGroupTexture_);
    materialFields->addLayout(groupButtons);

    auto* texture = new QGroupBox(tr("Textures"));
    auto* textureFields = new QVBoxLayout(texture);
    textureFields->addWidget(textures_);
    textureFields->addWidget(load_);
    textureFields->addWidget(useTexture_);
    textureFields->addWidget(lighting_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mesh);
    layout->addWidget(group, 1);
    layout->addWidget(materials, 1);
    layout->addWidget(texture, 1);

    connect(groups_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing_) {
            model_.SelectGroup(row);
            Refresh();
        }
    });
    connect(faceGroups_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing_) {
            model_.SelectFaceGroup(row);
            Refresh();
        }
    });
    connect(replaceGroupTexture_, &QPushButton::clicked, this, &CMeshPanel::OnReplaceGroupTexture);
    connect(removeGroupTexture_, &QPushButton::clicked, this, [this] {
        if (const Status removed = model_.SetFaceGroupTexture({}); !removed)
            CurrentReporter().ShowMessage(removed.Message(), MessageIcon::Warning, MessageButtons::Ok);
        Refresh();
    });
    connect(textures_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing_)
            model_.SelectTexture(row);
    });
    connect(load_, &QPushButton::clicked, this, &CMeshPanel::OnLoad);
    // Shown again after each: a change refused leaves the box as the object is.
    connect(useTexture_, &QCheckBox::clicked, this, [this](bool checked) {
        model_.SetUseTexture(checked);
        Refresh();
    });
    connect(lighting_, &QCheckBox::clicked, this, [this](bool checked) {
        model_.SetEffectedByLighting(checked);
        Refresh();
    });
    documentConnection_ = document.Changed().Connect([this](DocumentChanges changes) {
        if (changes & (kSceneChanged | kSelectionChanged))
            Refresh();
    });
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

    faceGroups_->clear();
    for (const MeshGroupInfo& info : model_.FaceGroups()) {
        const std::string part = info.part < model_.Groups().size() ? model_.Groups()[info.part].name : std::string();
        QString text = QStringLiteral("%1: %2 (%3 faces)")
                           .arg(QString::fromLatin1(part.data(), static_cast<qsizetype>(part.size())),
                                QString::fromLatin1(info.materialName.data(),
                                                    static_cast<qsizetype>(info.materialName.size())))
                           .arg(info.faceCount);
        if (!info.texturePath.empty())
            text += QStringLiteral(" - %1%2")
                        .arg(QFileInfo(QFile::decodeName(QByteArray::fromStdString(info.texturePath))).fileName(),
                             info.textureShown ? QString() : tr(" (missing)"));
        faceGroups_->addItem(text);
    }
    faceGroups_->setCurrentRow(model_.SelectedFaceGroup());
    const bool faceGroup = model_.SelectedFaceGroup() >= 0;
    replaceGroupTexture_->setEnabled(faceGroup);
    removeGroupTexture_->setEnabled(faceGroup && !model_.FaceGroups()[static_cast<size_t>(model_.SelectedFaceGroup())]
                                                        .texturePath.empty());

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

void CMeshPanel::OnReplaceGroupTexture()
{
    const std::optional<std::string> maps = FindProgramFolder("Maps");
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Replace Texture"), maps ? QFile::decodeName(QByteArray::fromStdString(*maps)) : QString(),
        tr("Pictures (*.bmp *.tga *.png *.jpg *.jpeg);;All Files (*)"));
    if (path.isEmpty())
        return;
    if (const Status replaced = model_.SetFaceGroupTexture(QFile::encodeName(path).toStdString()); !replaced)
        CurrentReporter().ShowMessage(replaced.Message(), MessageIcon::Warning, MessageButtons::Ok);
    Refresh();
}

void CMeshPanel::OnLoad()
{
    const std::optional<std::string> maps = FindProgramFolder("Maps");
    const QString start =
        LastFolder("Textures", maps ? QFile::decodeName(QByteArray::fromStdString(*maps)) : QString());
    const QString path = QFileDialog::getOpenFileName(this, QString(), start, tr("Windows Bitmap Files (*.bmp)"));
    RememberFolder("Textures", path);
    // A file that does not load is left out; the image loader said why.
    if (!path.isEmpty())
        static_cast<void>(model_.LoadTexture(QFile::encodeName(path).toStdString()));
    Refresh();
}

} // namespace zelvane
