#include "app/CMainFrame.h"

#include "app/ApplicationIcon.h"
#include "app/CAboutDlg.h"
#include "app/CImportOptionsDlg.h"
#include "app/CInsertTextDlg.h"
#include "app/CRenderSpritesDlg.h"
#include "app/CSelectBaseObjectDlg.h"
#include "app/CSpriteFolderDlg.h"
#include "app/FileDialogs.h"
#include "app/PrintPreviewPage.h"
#include "app/QtOpenFileDialog.h"
#include "app/RecentFileList.h"
#include "app/StatusBarProgress.h"
#include "app/ToolbarIcons.h"
#include "app/UserGuide.h"
#include "document/COGLDoc.h"
#include "document/SceneFile.h"
#include "document/SaveViewImage.h"
#include "interaction/CommandIds.h"
#include "interaction/Tool.h"
#include "report/OpenFileDialog.h"
#include "report/ProgramFolders.h"
#include "report/Reporter.h"
#include "report/Version.h"
#include "scene/COGLMesh.h"
#include "scene/ObjectFileBeside.h"
#include "scene/OpenGLInfo.h"
#include "view/CMeshPanel.h"
#include "view/CObjectBar.h"
#include "view/CObjectPanel.h"
#include "view/COGLView.h"
#include "view/EditorSettings.h"
#include "view/ObjectText.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewWidget>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>

#include <array>
#include <initializer_list>

namespace zelvane {

namespace {

struct CommandEntry {
    int id;
    const char* name;    // the action's object name
    const char* menu;    // the menu text, "&" marking the mnemonic
    const char* prompt;  // status-bar text "\n" tooltip, as the string table has them
    std::initializer_list<QKeyCombination> keys; // the first key of each binding wins
    bool checkable;
};

using command::kCameraFrontButton;
using command::kCameraLeftButton;
using command::kCameraRightButton;
using command::kCameraSimsButton;
using command::kCameraTopButton;

const std::array kCommands{
    // Tools.
    CommandEntry{command::kSelect, "actionSelect", "&Select", "Select an Object\nSelect", {}, true},
    CommandEntry{command::kMove, "actionMove", "&Move", "Move the Selected Object\nMove", {Qt::ALT | Qt::Key_M}, true},
    CommandEntry{command::kRotate, "actionRotate", "&Rotate", "Rotate the Selected Object\nRotate",
                 {Qt::ALT | Qt::Key_R}, true},
    CommandEntry{command::kScale, "actionScale", "S&cale", "Scale the Selected Object\nScale", {Qt::ALT | Qt::Key_S},
                 true},
    CommandEntry{command::kTextureMove, "actionTextureMove", "Move &Texture", "Move Texture\nMove Texture",
                 {Qt::CTRL | Qt::ALT | Qt::Key_M}, true},
    CommandEntry{command::kTextureRotate, "actionTextureRotate", "Rotate Te&xture", "Rotate Texture\nRotate Texture",
                 {Qt::CTRL | Qt::ALT | Qt::Key_R}, true},
    CommandEntry{command::kTextureScale, "actionTextureScale", "Scale Textu&re", "Scale Texture\nScaleTexture",
                 {Qt::CTRL | Qt::ALT | Qt::Key_S}, true},
    CommandEntry{command::kPan, "actionPan", "&Pan", "Pan\nPan", {Qt::ALT | Qt::Key_P}, true},
    CommandEntry{command::kOrbit, "actionOrbit", "&Orbit", "Orbit\nOrbit", {Qt::ALT | Qt::Key_O}, true},
    CommandEntry{command::kZoom, "actionZoom", "&Zoom", "Zoom\nZoom", {Qt::ALT | Qt::Key_Z}, true},
    CommandEntry{command::kFieldOfView, "actionFieldOfView", "&Field of View", "Field of View\nFOV",
                 {Qt::ALT | Qt::Key_F}, true},
    CommandEntry{command::kEffectX, "actionEffectX", "Effect &X (Left-Right)",
                 "Mouse Effects X (Left-Right)\nEffect X (Left-Right)", {QKeyCombination(Qt::Key_X)}, true},
    CommandEntry{command::kEffectY, "actionEffectY", "Effect &Y (Up-Down)",
                 "Mouse Effects Y (Up-Down)\nEffect Y (Up-Down)", {QKeyCombination(Qt::Key_Y)}, true},
    CommandEntry{command::kEffectZ, "actionEffectZ", "Effect &Z (In-Out)",
                 "Mouse Effects Z (In-Out)\nEffect Z (In-Out)", {QKeyCombination(Qt::Key_Z)}, true},
    // The viewport.
    CommandEntry{command::kGrid, "actionGrid", "&Grid", "Show the floor grid\nGrid", {}, true},
    CommandEntry{command::kAxis, "actionAxis", "3D &Axis", "Show the axis marker\n3D Axis", {}, true},
    CommandEntry{command::kCage, "actionCage", "Toggle &Cage", "Show the footprint cage\nCage", {}, true},
    CommandEntry{command::kWireframe, "actionWireframe", "&Wireframe", "Draw the scene as lines\nWireframe", {},
                 true},
    CommandEntry{command::kShaded, "actionShaded", "S&haded", "Draw the scene lit and filled\nShaded", {}, true},
    CommandEntry{command::kPreviewAsBaked, "actionPreviewAsBaked", "Preview as &Baked",
                 "Show the objects as Render Sprites draws them, in the game's four views and light\nPreview as Baked",
                 {}, true},
    CommandEntry{kCameraSimsButton, "actionCameraSims", "The &Sims", "The game's own view\nSims view", {}, true},
    CommandEntry{kCameraTopButton, "actionCameraTop", "&Top", "Look down from above\nTop view", {}, true},
    CommandEntry{kCameraFrontButton, "actionCameraFront", "&Front", "Look from the front\nFront view", {}, true},
    CommandEntry{kCameraLeftButton, "actionCameraLeft", "&Left", "Look from the left\nLeft view", {}, true},
    CommandEntry{kCameraRightButton, "actionCameraRight", "&Right", "Look from the right\nRight view", {}, true},
    // Editing.
    CommandEntry{command::kUndo, "actionUndo", "&Undo", "Undo the last change\nUndo",
                 {Qt::CTRL | Qt::Key_Z, Qt::ALT | Qt::Key_Backspace}, false},
    CommandEntry{command::kRedo, "actionRedo", "&Redo", "Redo the change undone last\nRedo",
                 {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}, false},
    CommandEntry{command::kCopy, "actionCopy", "&Copy", "Copy the selected object\nCopy",
                 {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert}, false},
    CommandEntry{command::kDelete, "actionDelete", "&Delete", "Delete the selected object\nDelete",
                 {QKeyCombination(Qt::Key_Delete)}, false},
    CommandEntry{command::kClearScene, "actionClearScene", "C&lear the Scene", "Remove every object\nClear the Scene",
                 {}, false},
    CommandEntry{command::kToggleMoveFast, "actionToggleMoveFast", "Toggle Move &Fast",
                 "Draw the frame while moving\nMove Fast", {}, true},
    CommandEntry{command::kHighlightSelected, "actionHighlightSelected", "&Highlight Selected",
                 "Highlight the selected object\nHighlight Selected", {}, true},
    // Printing.
    CommandEntry{command::kPrint, "actionPrint", "&Print...", "Print the scene\nPrint", {Qt::CTRL | Qt::Key_P},
                 false},
    CommandEntry{command::kPrintPreview, "actionPrintPreview", "Print Pre&view",
                 "Show the scene as it will be printed\nPrint Preview", {}, false},
};

// The menu's camera commands reach the same actions as the toolbar's.
constexpr std::array<std::pair<int, int>, 5> kCameraMenuCommands{{
    {command::kCameraSims, kCameraSimsButton},
    {command::kCameraTop, kCameraTopButton},
    {command::kCameraFront, kCameraFrontButton},
    {command::kCameraLeft, kCameraLeftButton},
    {command::kCameraRight, kCameraRightButton},
}};

// The Insert menu's objects.
struct InsertEntry {
    int id;
    const char* name;
    const char* menu;
    const char* noun;
    ObjectKind kind;
};
constexpr std::array<InsertEntry, 8> kInserts{{
    {command::kInsertBox, "actionInsertBox", "&Box", "box", ObjectKind::Box},
    {command::kInsertSphere, "actionInsertSphere", "&Sphere", "sphere", ObjectKind::Sphere},
    {command::kInsertCylinder, "actionInsertCylinder", "&Cylinder", "cylinder", ObjectKind::Cylinder},
    {command::kInsertRod, "actionInsertRod", "&Rod", "rod (a tube without ends)", ObjectKind::Rod},
    {command::kInsertCone, "actionInsertCone", "C&one", "cone", ObjectKind::Cone},
    {command::kInsertPlane, "actionInsertPlane", "&Plane", "square plane", ObjectKind::Plane},
    {command::kInsertDisk, "actionInsertDisk", "&Disk", "disk", ObjectKind::Disk},
    {command::kInsertBillboard, "actionInsertBillboard", "B&illboard", "billboard (it always faces you)",
     ObjectKind::Billboard},
}};

// The radio-marked tools.
bool IsRadioTool(int id)
{
    const std::optional<Tool> tool = ToolOfCommand(id);
    return tool
        && (*tool == Tool::Select || *tool == Tool::Move || *tool == Tool::Rotate || *tool == Tool::Scale
            || *tool == Tool::TextureMove || *tool == Tool::TextureScale || *tool == Tool::TextureRotate);
}

} // namespace

CMainFrame::CMainFrame(COGLDoc& document, QWidget* parent)
    : QMainWindow(parent), document_(document), pages_(new QStackedWidget(this)), view_(new COGLView(document, pages_))
{
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(ApplicationIcon());
    pages_->addWidget(view_);
    setCentralWidget(pages_);
    setDockOptions(dockOptions() | QMainWindow::AllowTabbedDocks);
    CreateActions();
    CreateToolbar();
    CreateStatusBar();
    CreateObjectBar();
    CreateMenus();
    // The menus, the toolbar and the title follow the document and the tools.
    documentConnection_ = document_.Changed().Connect([this](DocumentChanges changes) {
        if (changes & kPluginsChanged)
            FillImportMenu();
        if (changes & (kPathChanged | kHistoryChanged))
            UpdateTitle();
        UpdateCommandStates();
    });
    UpdateTitle();
    toolsConnection_ = view_->Tools().StateChanged().Connect([this] { UpdateCommandStates(); });
    readoutConnection_ = view_->Tools().ReadoutChanged().Connect([this](const std::string& text) {
        readoutPane_->setText(QString::fromStdString(text));
        readoutPane_->repaint();
    });
    // The plug-ins are scanned once per run, when the view first has its scene.
    connect(view_, &COGLView::SceneReady, this, [this] { ShowStatus(document_.ScanPlugins()); });
    connect(view_, &COGLView::FilesDropped, this, &CMainFrame::OpenDroppedFiles);
    resize(1024, 720);
    UpdateCommandStates();
}

CMainFrame::~CMainFrame()
{
    if (preview_)
        LeavePrintPreview();
    // The view goes after this frame's part of the object: it must not call
    // back.
    disconnect(view_, nullptr, this, nullptr);
    documentConnection_.Disconnect();
    toolsConnection_.Disconnect();
    readoutConnection_.Disconnect();
    delete objectDock_;
    objectDock_ = nullptr;
}

QAction* CMainFrame::AddShellAction(int id, const char* name, const QString& text, const QString& prompt,
                                    const QKeySequence& key)
{
    const QStringList parts = prompt.split(QLatin1Char('\n'));
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setStatusTip(parts.value(0));
    action->setToolTip(parts.value(1, parts.value(0)));
    action->setData(id);
    if (!key.isEmpty())
        action->setShortcut(key);
    connect(action, &QAction::triggered, this, [this, id] { Run(id); });
    addAction(action);
    actions_.insert(id, action);
    shellCommands_.insert(id);
    return action;
}

void CMainFrame::CreateActions()
{
    // The shell's commands; their keys come first, so they win over later bindings.
    AddShellAction(command::kOpen, "actionOpen", tr("&Open..."), tr("Open an existing scene\nOpen"),
                   QKeySequence(Qt::CTRL | Qt::Key_O));
    AddShellAction(command::kSave, "actionSave", tr("&Save"),
                   tr("Save the scene and its object file (a new scene asks for a name)\nSave"),
                   QKeySequence(Qt::CTRL | Qt::Key_S));
    AddShellAction(command::kSaveAs, "actionSaveAs", tr("Save &As..."),
                   tr("Save the scene and its object file under a new name\nSave As"),
                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    AddShellAction(command::kSaveImage, "actionSaveImage", tr("Save &Image..."),
                   tr("Save the Screen to an external file\nSave Image"));
    AddShellAction(command::kExit, "actionExit", tr("E&xit"), tr("Quit the application\nExit"));
    AddShellAction(command::kSetBaseObject, "actionSetBaseObject", tr("&Set Base Object..."),
                   tr("Sets the base object for this object\nSet Base Object"));
    AddShellAction(command::kRenderSprites, "actionRenderSprites", tr("&Render Sprites from Scene..."),
                   tr("Render the scene's objects into the working object's sprites\nRender Sprites"));
    AddShellAction(command::kExportSprites, "actionExportSprites", tr("&Export Sprites..."),
                   tr("Write the working object's sprites as pictures to paint\nExport Sprites"));
    AddShellAction(command::kImportSprites, "actionImportSprites", tr("I&mport Sprites..."),
                   tr("Bring painted pictures back into the working object's sprites\nImport Sprites"));
    AddShellAction(command::kHelpContents, "actionHelpContents", tr("Contents..."),
                   tr("Open the user guide\nHelp"), QKeySequence(Qt::Key_F1));
    AddShellAction(command::kWebPage, "actionWebPage", tr("zelvane on the Web"),
                   tr("Open the zelvane web page\nzelvane on the Web"));
    AddShellAction(command::kAbout, "actionAbout", tr("&About zelvane..."),
                   tr("Display program information, version number and copyright\nAbout"));
    for (const InsertEntry& entry : kInserts)
        AddShellAction(entry.id, entry.name, tr(entry.menu),
                       tr("Put a new %1 on the footprint\n%1").arg(tr(entry.noun)));
    AddShellAction(command::kInsertText, "actionInsertText", tr("3-D &Text..."),
                   tr("Put new 3-D letters on the footprint\n3-D Text"));
    for (const int id : {command::kOpen, command::kSave})
        actions_.value(id)->setIcon(ToolbarIcon(id));

    for (const CommandEntry& entry : kCommands) {
        const QStringList prompt = QString::fromLatin1(entry.prompt).split(QLatin1Char('\n'));
        auto* action = new QAction(QString::fromLatin1(entry.menu), this);
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setStatusTip(prompt.value(0));
        action->setToolTip(prompt.value(1));
        action->setIconText(prompt.value(1));
        action->setCheckable(entry.checkable);
        action->setData(entry.id);
        action->setIcon(ToolbarIcon(entry.id));
        // A key already bound to an earlier command stays with it.
        QList<QKeySequence> keys;
        for (const QKeyCombination key : entry.keys) {
            const QKeySequence sequence(key);
            bool taken = false;
            for (const QAction* earlier : std::as_const(actions_))
                taken = taken || earlier->shortcuts().contains(sequence);
            if (!taken)
                keys.append(sequence);
        }
        action->setShortcuts(keys);
        const int id = entry.id;
        connect(action, &QAction::triggered, this, [this, id] { Run(id); });
        addAction(action);
        actions_.insert(id, action);
    }
    // The object tools show a radio mark; the others a check mark.
    auto* radio = new QActionGroup(this);
    radio->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* action : std::as_const(actions_))
        if (IsRadioTool(action->data().toInt()))
            radio->addAction(action);
    for (const auto& [menuId, buttonId] : kCameraMenuCommands)
        actions_.insert(menuId, actions_.value(buttonId));
}

void CMainFrame::CreateToolbar()
{
    toolbar_ = new QToolBar(tr("Toolbar"), this);
    toolbar_->setObjectName(QStringLiteral("toolBar"));
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar_->setIconSize(QSize(kToolbarIconWidth, kToolbarIconHeight));
    const std::initializer_list<std::initializer_list<int>> groups{
        {command::kOpen, command::kSave},
        {command::kSelect, command::kMove, command::kRotate, command::kScale},
        {command::kTextureMove, command::kTextureRotate, command::kTextureScale},
        {command::kPan, command::kZoom},
        {command::kEffectX, command::kEffectY, command::kEffectZ},
        {kCameraSimsButton, kCameraFrontButton, kCameraTopButton, kCameraLeftButton},
        {command::kWireframe, command::kShaded},
        {command::kCage, command::kGrid},
    };
    for (const auto& group : groups) {
        if (!toolbar_->actions().isEmpty())
            toolbar_->addSeparator();
        for (const int id : group)
            toolbar_->addAction(Action(id));
    }
    addToolBar(Qt::TopToolBarArea, toolbar_);
}

void CMainFrame::CreateObjectBar()
{
    objectDock_ = new QDockWidget(tr("Object Bar"), this);
    objectDock_->setObjectName(QStringLiteral("objectBarDock"));
    objectDock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    objectDock_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetClosable);
    objectBar_ = new CObjectBar(document_, objectDock_);
    objectDock_->setWidget(objectBar_);
    addDockWidget(Qt::RightDockWidgetArea, objectDock_);
}

void CMainFrame::CreateMenus()
{
    // Alt+F and Alt+O are the Field of View and Orbit tools' keys, which come
    // first; the File and Object menus take the next letters.
    fileMenu_ = menuBar()->addMenu(tr("F&ile"));
    fileMenu_->setObjectName(QStringLiteral("menuFile"));
    fileMenu_->addAction(Action(command::kOpen));
    fileMenu_->addAction(Action(command::kSave));
    fileMenu_->addAction(Action(command::kSaveAs));
    fileMenu_->addAction(Action(command::kSaveImage));
    fileMenu_->addSeparator();
    importMenu_ = fileMenu_->addMenu(tr("&Import"));
    importMenu_->setObjectName(QStringLiteral("menuImport"));
    // Until the view has scanned the plug-ins.
    QAction* placeholder = importMenu_->addAction(tr("Plug-ins go here"));
    placeholder->setData(command::kImportPlaceholder);
    placeholder->setEnabled(false);
    fileMenu_->addSeparator();
    fileMenu_->addAction(Action(command::kPrint));
    fileMenu_->addAction(Action(command::kPrintPreview));
    fileMenu_->addSeparator();
    recentPlaceholder_ = fileMenu_->addAction(tr("Recent File"));
    recentPlaceholder_->setObjectName(QStringLiteral("actionRecentFile"));
    recentPlaceholder_->setData(command::kRecentFile);
    recentPlaceholder_->setEnabled(false);
    for (std::size_t i = 0; i < recentActions_.size(); ++i) {
        QAction* action = fileMenu_->addAction(QString());
        action->setObjectName(QStringLiteral("actionRecentFile%1").arg(i + 1));
        action->setData(command::kRecentFile + static_cast<int>(i));
        connect(action, &QAction::triggered, this,
                [this, action] { OpenRecentFile(action->property("path").toString()); });
        recentActions_[i] = action;
    }
    fileMenu_->addSeparator();
    fileMenu_->addAction(Action(command::kExit));
    FillRecentFileMenu();

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("menuEdit"));
    for (const int id : {command::kUndo, command::kRedo})
        edit->addAction(Action(id));
    edit->addSeparator();
    for (const int id : {command::kCopy, command::kDelete})
        edit->addAction(Action(id));
    copyTips_ = {Action(command::kCopy)->statusTip(), Action(command::kCopy)->toolTip()};
    edit->addSeparator();
    edit->addAction(Action(command::kClearScene));

    // Alt+I opens the File menu ("F&ile"); Insert takes the next letter.
    QMenu* insert = menuBar()->addMenu(tr("I&nsert"));
    insert->setObjectName(QStringLiteral("menuInsert"));
    for (const InsertEntry& entry : kInserts)
        insert->addAction(Action(entry.id));
    insert->addSeparator();
    insert->addAction(Action(command::kInsertText));

    QMenu* tools = menuBar()->addMenu(tr("&Tools"));
    tools->setObjectName(QStringLiteral("menuTools"));
    for (const int id : {command::kSelect, command::kMove, command::kRotate, command::kScale})
        tools->addAction(Action(id));
    tools->addSeparator();
    for (const int id : {command::kTextureMove, command::kTextureRotate, command::kTextureScale})
        tools->addAction(Action(id));
    tools->addSeparator();
    for (const int id : {command::kPan, command::kOrbit, command::kZoom, command::kFieldOfView})
        tools->addAction(Action(id));
    tools->addSeparator();
    for (const int id : {command::kEffectX, command::kEffectY, command::kEffectZ})
        tools->addAction(Action(id));
    tools->addSeparator();
    for (const int id : {command::kToggleMoveFast, command::kHighlightSelected})
        tools->addAction(Action(id));

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("menuView"));
    QAction* showToolbar = toolbar_->toggleViewAction();
    showToolbar->setText(tr("&Toolbar"));
    showToolbar->setObjectName(QStringLiteral("actionViewToolbar"));
    showToolbar->setData(command::kViewToolbar);
    view->addAction(showToolbar);
    QAction* showStatusBar = view->addAction(tr("&Status Bar"));
    showStatusBar->setObjectName(QStringLiteral("actionStatusBar"));
    showStatusBar->setData(command::kViewStatusBar);
    showStatusBar->setCheckable(true);
    showStatusBar->setChecked(true);
    connect(showStatusBar, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    QAction* showObjectBar = objectDock_->toggleViewAction();
    showObjectBar->setText(tr("&Object Bar"));
    showObjectBar->setObjectName(QStringLiteral("actionViewObjectBar"));
    view->addAction(showObjectBar);
    view->addSeparator();
    for (const int id : {command::kGrid, command::kAxis, command::kCage})
        view->addAction(Action(id));
    view->addSeparator();
    for (const int id : {command::kWireframe, command::kShaded, command::kPreviewAsBaked})
        view->addAction(Action(id));
    view->addSeparator();
    QMenu* camera = view->addMenu(tr("&Camera"));
    camera->setObjectName(QStringLiteral("menuCamera"));
    for (const int id : {kCameraSimsButton, kCameraTopButton, kCameraFrontButton, kCameraLeftButton,
                         kCameraRightButton})
        camera->addAction(Action(id));

    objectMenu_ = menuBar()->addMenu(tr("O&bject"));
    objectMenu_->setObjectName(QStringLiteral("menuObject"));
    objectMenu_->addAction(Action(command::kSetBaseObject));
    objectMenu_->addAction(Action(command::kRenderSprites));
    objectMenu_->addSeparator();
    objectMenu_->addAction(Action(command::kExportSprites));
    objectMenu_->addAction(Action(command::kImportSprites));

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("menuHelp"));
    help->addAction(Action(command::kHelpContents));
    help->addSeparator();
    help->addAction(Action(command::kWebPage));
    help->addSeparator();
    help->addAction(Action(command::kAbout));

    // Menus show the states as they are the moment they open.
    for (QMenu* menu : {fileMenu_, edit, insert, tools, view, camera, objectMenu_})
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    const QFontMetrics metrics(bar->font());
    toolPane_ = new QLabel(bar);
    toolPane_->setObjectName(QStringLiteral("paneTool"));
    toolPane_->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("Texture Rotate                ")));
    readoutPane_ = new QLabel(QString::fromLatin1("        "), bar);
    readoutPane_->setObjectName(QStringLiteral("paneReadout"));
    readoutPane_->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("X 1.123,  Y 2.123,    Z 1.123    ")));
    bar->addPermanentWidget(toolPane_);
    bar->addPermanentWidget(readoutPane_);
    progress_ = std::make_unique<StatusBarProgress>(*bar);
    openFileDialog_ = std::make_unique<QtOpenFileDialog>(this);
}

void CMainFrame::FillImportMenu()
{
    importMenu_->clear();
    for (const ImportMenuItem& item : document_.Plugins().ImportMenuItems()) {
        QAction* action = importMenu_->addAction(QString::fromStdString(item.text));
        action->setObjectName(QStringLiteral("actionImport%1").arg(item.commandId));
        action->setData(static_cast<int>(item.commandId));
        const std::uint32_t id = item.commandId;
        connect(action, &QAction::triggered, this, [this, id] { RunImportCommand(id); });
    }
    // Without plug-ins the menu stays, empty and greyed, where users look for it.
    importMenu_->setEnabled(!importMenu_->isEmpty());
}

void CMainFrame::FillRecentFileMenu()
{
    const QStringList files = RecentFileList::Files();
    recentPlaceholder_->setVisible(files.isEmpty());
    for (std::size_t i = 0; i < recentActions_.size(); ++i) {
        QAction* action = recentActions_[i];
        const bool used = static_cast<qsizetype>(i) < files.size();
        action->setVisible(used);
        if (!used)
            continue;
        const QString& path = files[static_cast<qsizetype>(i)];
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        action->setProperty("path", path);
        action->setStatusTip(tr("Open this scene"));
    }
}

void CMainFrame::OpenRecentFile(const QString& path)
{
    // A file that has gone leaves the list; one that fails to read stays for another try.
    if (!QFile::exists(path)) {
        CurrentReporter().ShowMessage("The scene file " + QFile::encodeName(path).toStdString()
                                          + " no longer exists; it was taken off the recent files.",
                                      MessageIcon::Warning, MessageButtons::Ok);
        RecentFileList::Remove(path);
        FillRecentFileMenu();
        return;
    }
    OpenDocumentFile(QFile::encodeName(path).toStdString());
}

bool CMainFrame::OpenDocumentFile(const std::string& path)
{
    if (!IsSceneFileName(path))
        return true;
    if (!document_.Scene())
        return false;
    // Opening replaces the scene: changes made since it was saved are not
    // dropped without asking.
    if (document_.HasUnsavedChanges()
        && CurrentReporter().ShowMessage("The scene has changes that have not been saved. Open \"" + path +
                                             "\" all the same and lose them?",
                                         MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;
    // A drag that is on points into the scene that goes.
    view_->Tools().EndDrag();
    const Status opened = document_.OpenSceneFile(path);
    view_->Tools().ResetTools();
    ShowStatus(opened);
    if (!opened)
        return false;
    RecentFileList::Add(QFile::decodeName(QByteArray::fromStdString(path)));
    FillRecentFileMenu();
    return true;
}

bool CMainFrame::ImportFile(const std::string& path, const CPlugin* plugin, const ImportOptions& options)
{
    // A drag that is on would go on with the new selection's placement.
    view_->Tools().EndDrag();
    const Result<COGLMesh*> imported = document_.ImportFile(path, plugin, options);
    ShowStatus(imported.GetStatus());
    if (imported.ok()) {
        const COGLMesh& mesh = **imported;
        const Vector3 size = mesh.SceneBox().Size();
        Say(tr("Imported %1: %2 faces, %3 \u00D7 %4 \u00D7 %5 tiles, standing on the footprint")
                .arg(QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName())
                .arg(mesh.TriangleCount())
                .arg(static_cast<double>(size.x), 0, 'f', 2)
                .arg(static_cast<double>(size.z), 0, 'f', 2)
                .arg(static_cast<double>(size.y), 0, 'f', 2));
    }
    return imported.ok();
}

void CMainFrame::RunImportCommand(std::uint32_t commandId)
{
    const CPlugin* plugin = document_.Plugins().FindByCommand(commandId);
    if (!plugin || !document_.Scene())
        return;
    OpenFileQuestion question;
    question.title = "Import";
    question.filter = plugin->FilterText();
    question.startFolder =
        QFile::encodeName(LastFolder(kImportFolderKind,
                                     QFile::decodeName(QByteArray::fromStdString(document_.ImportStartFolder()))))
            .toStdString();
    const std::optional<std::string> path = CurrentOpenFileDialog().AskForFileToOpen(question);
    if (!path)
        return;
    const QString chosen = QFile::decodeName(QByteArray::fromStdString(*path));
    RememberFolder(kImportFolderKind, chosen);
    CImportOptionsDlg options(CImportOptionsDlg::Remembered(), QFileInfo(chosen).fileName(), this);
    if (options.exec() != QDialog::Accepted)
        return;
    CImportOptionsDlg::Remember(options.Options());
    ImportFile(*path, plugin, options.Options());
}

void CMainFrame::OpenDroppedFiles(const QStringList& paths)
{
    for (const QString& file : paths) {
        const std::string path = QFile::encodeName(file).toStdString();
        if (!document_.OpensDroppedFile(path))
            continue;
        if (IsSceneFileName(path))
            OpenDocumentFile(path);
        else
            ImportFile(path, nullptr, CImportOptionsDlg::Remembered());
    }
}

void CMainFrame::ShowStatus(const Status& status)
{
    if (!status.ok())
        CurrentReporter().ShowMessage(status.Message(), MessageIcon::Error, MessageButtons::Ok);
    for (const std::string& warning : status.Warnings())
        CurrentReporter().ShowMessage(warning, MessageIcon::Warning, MessageButtons::Ok);
}

void CMainFrame::Run(int commandId)
{
    if (!RunShellCommand(commandId))
        view_->ExecuteCommand(commandId);
    UpdateCommandStates();
}

bool CMainFrame::RunShellCommand(int commandId)
{
    switch (commandId) {
    case command::kOpen: OnOpen(); return true;
    case command::kSave: OnSave(); return true;
    case command::kSaveAs: OnSaveAs(); return true;
    case command::kInsertText: OnInsertText(); return true;
    case command::kSaveImage: OnSaveImage(); return true;
    case command::kExit: close(); return true;
    case command::kSetBaseObject: OnSetBaseObject(); return true;
    case command::kRenderSprites: OnRenderSprites(); return true;
    case command::kExportSprites: OnExportSprites(); return true;
    case command::kImportSprites: OnImportSprites(); return true;
    case command::kHelpContents: OpenUserGuide(this); return true;
    case command::kWebPage: OpenWebPage(); return true;
    case command::kAbout: OnAbout(); return true;
    case command::kPrintPreview: EnterPrintPreview(); return true;
    default: break;
    }
    for (const InsertEntry& entry : kInserts)
        if (entry.id == commandId) {
            OnInsert(entry.kind);
            return true;
        }
    return false;
}

void CMainFrame::OnOpen()
{
    if (const std::optional<std::string> path = AskOpenScenePath(this))
        OpenDocumentFile(*path);
}

bool CMainFrame::OnSave()
{
    // A scene with a file is saved there; a new one asks for a name.
    if (document_.PathName().empty())
        return OnSaveAs();
    return SaveTo(document_.PathName());
}

bool CMainFrame::OnSaveAs()
{
    const std::optional<std::string> path = AskSaveScenePath(this, document_.PathName());
    return path && SaveTo(*path);
}

bool CMainFrame::SaveTo(const std::string& path)
{
    view_->Tools().EndDrag();
    const Status saved = document_.SaveSceneFile(path);
    ShowStatus(saved);
    if (!saved.ok())
        return false;
    RecentFileList::Add(QFile::decodeName(QByteArray::fromStdString(path)));
    FillRecentFileMenu();
    const QString scene = QFile::decodeName(QByteArray::fromStdString(path));
    Say(saved.Warnings().empty() && document_.WorkingObject().File()
            ? tr("Saved %1 and its object file %2")
                  .arg(scene, QFile::decodeName(QByteArray::fromStdString(ObjectFilePathBeside(path))))
            : tr("Saved %1").arg(scene));
    return true;
}

void CMainFrame::OnInsert(ObjectKind kind)
{
    view_->Tools().EndDrag();
    if (const COGLObject* object = document_.InsertObject(kind))
        Say(tr("Inserted a %1 on the footprint").arg(QString::fromStdString(object->Name()).toLower()));
}

void CMainFrame::OnInsertText()
{
    if (!document_.Scene())
        return;
    CInsertTextDlg dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    view_->Tools().EndDrag();
    if (document_.InsertText(dialog.Request()))
        Say(tr("Inserted the 3-D text \"%1\" on the footprint").arg(QString::fromStdString(dialog.Request().text)));
}

void CMainFrame::Say(const QString& text)
{
    statusBar()->showMessage(text, kStatusMessageTime);
}

void CMainFrame::UpdateTitle()
{
    const std::string& path = document_.PathName();
    const QString name = path.empty() ? tr("Untitled")
                                      : QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
    // Qt shows the mark in place of "[*]" while the window is modified.
    setWindowTitle(QStringLiteral("%1[*] - zelvane %2").arg(name, QString::fromLatin1(kProgramVersion)));
    setWindowModified(document_.HasUnsavedChanges());
}

void CMainFrame::OnSaveImage()
{
    const std::optional<SaveImageAnswer> answer = AskSaveImage(this);
    if (!answer)
        return;
    ShowStatus(SaveViewImage(answer->path, answer->filter, [this] {
        view_->CaptureWindow();
        return view_->CapturedImage();
    }));
}

void CMainFrame::OnSetBaseObject()
{
    CSelectBaseObjectDlg dialog(document_.Catalog(), document_.WorkingObject(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const CObjectEntry* object = document_.WorkingObject().CurrentObject();
    Say(tr("Cloned \"%1\" into the working object file %2")
            .arg(object ? FromObjectText(object->Summary().name) : QString(),
                 QFile::decodeName(QByteArray::fromStdString(document_.WorkingObject().Path()))));
}

void CMainFrame::OnRenderSprites()
{
    if (!document_.Scene())
        return;
    CRenderSpritesDlg dialog(*view_, this);
    if (dialog.exec() != QDialog::Accepted || dialog.LastResult().outcome != BakeOutcome::Written)
        return;
    const BakeResult& result = dialog.LastResult();
    Say(tr("Rendered %1 sprite(s) of %2 colours into the working object file; save the scene to keep them beside it")
            .arg(result.spriteIds.size())
            .arg(result.coloursUsed));
}

void CMainFrame::OnExportSprites()
{
    if (const std::optional<QString> done = ExportSprites(document_, this))
        Say(*done);
}

void CMainFrame::OnImportSprites()
{
    if (const std::optional<QString> done = ImportSprites(document_, this))
        Say(*done);
}

void CMainFrame::OnAbout()
{
    CAboutDlg about(ReadOpenGLInfo(*view_), document_.Plugins().InfoLines(), this);
    about.exec();
}

void CMainFrame::EnterPrintPreview()
{
    if (preview_ || !view_->CaptureWindow())
        return;
    preview_ = new PrintPreviewPage(*view_, pages_);
    connect(preview_, &PrintPreviewPage::PrintRequested, this, [this] {
        LeavePrintPreview();
        Run(command::kPrint);
    });
    connect(preview_, &PrintPreviewPage::CloseRequested, this, &CMainFrame::LeavePrintPreview);
    pages_->addWidget(preview_);
    pages_->setCurrentWidget(preview_);

    // The frame's own keys and bars make no sense over the printed page.
    for (QAction* action : std::as_const(actions_))
        action->setEnabled(false);
    menuBar()->hide();
    hiddenForPreview_.clear();
    for (QWidget* bar : std::initializer_list<QWidget*>{toolbar_, statusBar()}) {
        if (bar->isVisible()) {
            bar->hide();
            hiddenForPreview_.append(bar);
        }
    }
    preview_->Pages().setFocus();
}

void CMainFrame::LeavePrintPreview()
{
    if (!preview_)
        return;
    pages_->setCurrentWidget(view_);
    // Deleted later: the preview's own Close button may be what runs this.
    preview_->hide();
    preview_->deleteLater();
    preview_ = nullptr;

    menuBar()->show();
    for (QWidget* bar : std::as_const(hiddenForPreview_))
        bar->show();
    hiddenForPreview_.clear();
    for (const int id : std::as_const(shellCommands_))
        actions_.value(id)->setEnabled(true);
    UpdateCommandStates();
    view_->setFocus();
}

void CMainFrame::UpdateCommandStates()
{
    if (preview_)
        return;
    // A state may change the tool (the fall back to Select), which asks for
    // another pass; run it after this one instead of inside it.
    if (updating_) {
        updateAgain_ = true;
        return;
    }
    updating_ = true;
    do {
        updateAgain_ = false;
        for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
            if (it.value()->data().toInt() != it.key() || shellCommands_.contains(it.key()))
                continue; // the menu's number of a camera preset, or the shell's own
            const CommandState state = view_->StateOf(it.key());
            it.value()->setEnabled(state.enabled);
            if (it.value()->isCheckable())
                it.value()->setChecked(state.checked);
        }
        const bool scene = document_.Scene() != nullptr;
        Action(command::kSave)->setEnabled(scene);
        Action(command::kSaveImage)->setEnabled(scene);
        Action(command::kRenderSprites)->setEnabled(scene);
        const bool object = document_.WorkingObject().CurrentObject() != nullptr;
        Action(command::kExportSprites)->setEnabled(object);
        Action(command::kImportSprites)->setEnabled(object);
        // Copy is disabled for a light; the tips say why, where the user looks.
        QAction* copy = Action(command::kCopy);
        const bool light = document_.Selection().light != nullptr;
        copy->setStatusTip(light ? tr("A light cannot be copied: the scene keeps its own lights") : copyTips_.first);
        copy->setToolTip(light ? tr("Copy (not for a light)") : copyTips_.second);
        const UndoHistory& history = document_.History();
        Action(command::kUndo)->setText(history.CanUndo()
                                            ? tr("&Undo %1").arg(QString::fromStdString(history.UndoText()))
                                            : tr("&Undo"));
        Action(command::kRedo)->setText(history.CanRedo()
                                            ? tr("&Redo %1").arg(QString::fromStdString(history.RedoText()))
                                            : tr("&Redo"));
        const std::string_view name = ToolName(view_->Tools().CurrentTool());
        toolPane_->setText(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    } while (updateAgain_);
    updating_ = false;
}

QString CMainFrame::ToolPaneText() const
{
    return toolPane_->text();
}

QString CMainFrame::ReadoutPaneText() const
{
    return readoutPane_->text();
}

void CMainFrame::ShowCatalogSummary(const COGLDoc& document)
{
    const GameFolderChoice& game = document.GameFolder();
    QString text;
    if (game.source == GameFolderSource::None) {
        text = tr("No game folder found: start with --game-folder DIR or set SIMS_DATA");
    } else {
        text = tr("%1 objects in %2 object files, from %3 (%4)")
                   .arg(document.Catalog().ListedObjects().size())
                   .arg(document.Catalog().Files().size())
                   .arg(QString::fromStdString(game.folder))
                   .arg(QString::fromUtf8(GameFolderSourceName(game.source)));
    }
    statusBar()->showMessage(text);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // The bars are stored as they are outside the preview.
    if (preview_)
        LeavePrintPreview();
    // Closing ends the program: the scene's changes are not dropped without asking.
    if (document_.HasUnsavedChanges()) {
        const MessageAnswer answer =
            CurrentReporter().ShowMessage("The scene has changes that have not been saved. Save them first?",
                                          MessageIcon::Question, MessageButtons::YesNoCancel);
        if (answer == MessageAnswer::Cancel || (answer == MessageAnswer::Yes && !OnSave())) {
            event->ignore();
            return;
        }
    }
    if (saveSettings_)
        OpenEditorSettings()->setValue(QStringLiteral("Bars/State"), saveState());
    QMainWindow::closeEvent(event);
}

} // namespace zelvane
