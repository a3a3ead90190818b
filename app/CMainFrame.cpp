#include "app/CMainFrame.h"
#include "app/CRenderSpritesDlg.h"

#include "document/COGLDoc.h"
#include "interaction/CommandIds.h"
#include "interaction/Tool.h"
#include "report/Version.h"
#include "view/COGLView.h"
#include "view/EditorSettings.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
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
    : QMainWindow(parent), document_(document), view_(new COGLView(document, this))
{
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("zelvane ") + QString::fromLatin1(kProgramVersion));
    setCentralWidget(view_);
    CreateActions();
    CreateMenusAndToolbar();
    CreateStatusBar();
    connect(view_, &COGLView::CommandStatesChanged, this, &CMainFrame::UpdateCommandStates);
    connect(view_, &COGLView::ReadoutChanged, this, [this](const QString& text) {
        readoutPane_->setText(text);
        readoutPane_->repaint();
    });
    document_.History().SetChangeObserver([this] { UpdateCommandStates(); });
    resize(800, 600);
    UpdateCommandStates();
}

CMainFrame::~CMainFrame()
{
    // The view goes after this frame's part of the object: it must not call back.
    disconnect(view_, nullptr, this, nullptr);
    document_.History().SetChangeObserver(nullptr);
}

void CMainFrame::CreateActions()
{
    for (const CommandEntry& entry : kCommands) {
        const QStringList prompt = QString::fromLatin1(entry.prompt).split(QLatin1Char('\n'));
        auto* action = new QAction(QString::fromLatin1(entry.menu), this);
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setStatusTip(prompt.value(0));
        action->setToolTip(prompt.value(1));
        action->setIconText(prompt.value(1));
        action->setCheckable(entry.checkable);
        action->setData(entry.id);
        QList<QKeySequence> keys;
        for (const QKeyCombination key : entry.keys)
            keys.append(QKeySequence(key));
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

void CMainFrame::CreateMenusAndToolbar()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("menuFile"));
    file->addAction(Action(command::kPrint));
    file->addAction(Action(command::kPrintPreview));
    file->addSeparator();
    QAction* exit = file->addAction(tr("E&xit"), this, &QWidget::close);
    exit->setObjectName(QStringLiteral("actionExit"));

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("menuEdit"));
    for (const int id : {command::kUndo, command::kRedo})
        edit->addAction(Action(id));
    edit->addSeparator();
    for (const int id : {command::kCopy, command::kDelete})
        edit->addAction(Action(id));
    edit->addSeparator();
    edit->addAction(Action(command::kClearScene));

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

    QMenu* object = menuBar()->addMenu(tr("Ob&ject"));
    object->setObjectName(QStringLiteral("menuObject"));
    QAction* render = object->addAction(tr("&Render Sprites from Scene..."), this, [this] {
        if (view_->Scene())
            CRenderSpritesDlg(*view_, document_.WorkingObject(), this).exec();
    });
    render->setObjectName(QStringLiteral("actionRenderSprites"));
    render->setStatusTip(tr("Render the scene's objects into the working object's sprites"));

    auto* toolbar = new QToolBar(tr("Toolbar"), this);
    toolbar->setObjectName(QStringLiteral("toolBar"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const std::initializer_list<std::initializer_list<int>> groups{
        {command::kSelect, command::kMove, command::kRotate, command::kScale},
        {command::kTextureMove, command::kTextureRotate, command::kTextureScale},
        {command::kPan, command::kZoom},
        {command::kEffectX, command::kEffectY, command::kEffectZ},
        {kCameraSimsButton, kCameraFrontButton, kCameraTopButton, kCameraLeftButton},
        {command::kWireframe, command::kShaded},
        {command::kCage, command::kGrid},
    };
    for (const auto& group : groups) {
        if (!toolbar->actions().isEmpty())
            toolbar->addSeparator();
        for (const int id : group)
            toolbar->addAction(Action(id));
    }
    addToolBar(Qt::TopToolBarArea, toolbar);

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("menuView"));
    QAction* showToolbar = toolbar->toggleViewAction();
    showToolbar->setText(tr("&Toolbar"));
    view->addAction(showToolbar);
    QAction* showStatusBar = view->addAction(tr("&Status Bar"));
    showStatusBar->setObjectName(QStringLiteral("actionStatusBar"));
    showStatusBar->setCheckable(true);
    showStatusBar->setChecked(true);
    connect(showStatusBar, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    view->addSeparator();
    for (const int id : {command::kGrid, command::kAxis, command::kCage})
        view->addAction(Action(id));
    view->addSeparator();
    for (const int id : {command::kWireframe, command::kShaded})
        view->addAction(Action(id));
    view->addSeparator();
    QMenu* camera = view->addMenu(tr("&Camera"));
    camera->setObjectName(QStringLiteral("menuCamera"));
    for (const int id : {kCameraSimsButton, kCameraTopButton, kCameraFrontButton, kCameraLeftButton,
                         kCameraRightButton})
        camera->addAction(Action(id));

    // Menus show the states as they are the moment they open.
    for (QMenu* menu : {file, edit, tools, view, camera})
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
}

void CMainFrame::Run(int commandId)
{
    view_->ExecuteCommand(commandId);
    UpdateCommandStates();
}

void CMainFrame::UpdateCommandStates()
{
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
            if (it.value()->data().toInt() != it.key())
                continue; // the menu's number of a camera preset
            const CommandState state = view_->StateOf(it.key());
            it.value()->setEnabled(state.enabled);
            if (it.value()->isCheckable())
                it.value()->setChecked(state.checked);
        }
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
    if (saveSettings_)
        OpenEditorSettings()->setValue(QStringLiteral("Bars/State"), saveState());
    QMainWindow::closeEvent(event);
}

} // namespace zelvane
