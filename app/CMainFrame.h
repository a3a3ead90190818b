#pragma once
// The editor's single top-level window: the menus, the toolbar with its icons,
// the status bar with the current tool's name, the tools' readout and the
// progress display, the object bar docked on the right with its "Object Info"
// and "Mesh Info" tabs, and the OpenGL view filling the client area. Every
// command is a QAction found by its number; after every command, selection or
// tool change the actions' enable and check states are brought up to date.
// The frame runs the shell's own commands: scene files, images, imports, the
// base object, the print preview, help and the About box.

#include "document/FootprintPlacement.h"
#include "document/Signal.h"
#include "report/Result.h"
#include "scene/ObjectKind.h"

#include <QHash>
#include <QMainWindow>
#include <QSet>

#include <array>
#include <memory>
#include <string>
#include <utility>

class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QStackedWidget;
class QToolBar;

namespace zelvane {

class CObjectBar;
class COGLDoc;
class COGLView;
class CPlugin;
class PrintPreviewPage;
class QtOpenFileDialog;
class StatusBarProgress;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(COGLDoc& document, QWidget* parent = nullptr);
    ~CMainFrame() override;

    COGLView* View() const { return view_; }
    CObjectBar& ObjectBar() const { return *objectBar_; }
    // The status bar's progress display and the file dialog for questions
    // from below the GUI; the application installs them for the process.
    StatusBarProgress& Progress() const { return *progress_; }
    QtOpenFileDialog& OpenFileDialog() const { return *openFileDialog_; }
    // The Object menu, for commands about the object beside "Set Base Object...".
    QMenu* ObjectMenu() const { return objectMenu_; }

    // The action of a command number (either number of a camera preset), or null.
    QAction* Action(int commandId) const { return actions_.value(commandId, nullptr); }
    // Says in the status bar how many objects the catalog holds, and from where.
    void ShowCatalogSummary(const COGLDoc& document);

    // Whether closing the window stores the bars' layout under "Bars".
    void SetSaveSettings(bool save) { saveSettings_ = save; }

    // The open-document step of the Open command, the recent files, drops and
    // the command line: a ".cgs" file opens as the scene (after asking when
    // the scene has unsaved changes) and joins the recent files; any other
    // path changes nothing and counts as done. False when it was not opened
    // (the user said no, or was told why).
    bool OpenDocumentFile(const std::string& path);
    // Imports a mesh file with `plugin` (none: the one for its extension) as
    // one undo step, placed as `options` say, and says so in the status bar;
    // false, after telling the user why, when nothing came in.
    bool ImportFile(const std::string& path, const CPlugin* plugin, const ImportOptions& options = {});
    // How long a status-bar message of finished work stays, in milliseconds.
    static constexpr int kStatusMessageTime = 15000;

    // Brings every action's enable and check state, the Undo and Redo texts
    // and the tool's name up to date.
    void UpdateCommandStates();

    // The text of the status bar's tool-name and readout panes.
    QString ToolPaneText() const;
    QString ReadoutPaneText() const;

    // The print preview in place of the view: the menu and the bars go while
    // it shows, Page Down/Page Up turn pages and Escape closes it.
    void EnterPrintPreview();
    void LeavePrintPreview();
    bool IsPreviewing() const { return preview_ != nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolbar();
    void CreateStatusBar();
    void CreateObjectBar();
    QAction* AddShellAction(int id, const char* name, const QString& text, const QString& prompt,
                            const QKeySequence& key = {});
    void Run(int commandId);
    bool RunShellCommand(int commandId);
    void FillImportMenu();
    void FillRecentFileMenu();
    void OpenRecentFile(const QString& path);
    // The Import menu's command of a plug-in: asks for a file in "Meshes"
    // with the plug-in's filter and imports it.
    void RunImportCommand(std::uint32_t commandId);
    // Scene files open, anything else is imported.
    void OpenDroppedFiles(const QStringList& paths);
    // Tells the user why work failed and what went wrong on the way.
    void ShowStatus(const Status& status);

    void OnOpen();
    // Save writes the scene to its file (asking for a name only for a new
    // scene); Save As always asks. False when the scene was not saved
    // (cancelled, or the user was told why).
    bool OnSave();
    bool OnSaveAs();
    bool SaveTo(const std::string& path);
    void OnInsert(ObjectKind kind);
    void OnInsertText();
    // A message of finished work in the status bar.
    void Say(const QString& text);
    // "room.cgs* - zelvane 0.1.0": the scene's name, marked while it has
    // unsaved changes.
    void UpdateTitle();
    void OnSaveImage();
    void OnSetBaseObject();
    void OnRenderSprites();
    void OnExportSprites();
    void OnImportSprites();
    void OnAbout();

    COGLDoc& document_;
    QStackedWidget* pages_;
    COGLView* view_;
    CObjectBar* objectBar_ = nullptr;
    QDockWidget* objectDock_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    std::unique_ptr<StatusBarProgress> progress_;
    std::unique_ptr<QtOpenFileDialog> openFileDialog_;
    QHash<int, QAction*> actions_;
    QSet<int> shellCommands_;
    QMenu* importMenu_ = nullptr;
    QMenu* objectMenu_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    std::array<QAction*, 4> recentActions_{};
    // Copy's own status tip and tooltip, shown again when no light is selected.
    std::pair<QString, QString> copyTips_;
    QAction* recentPlaceholder_ = nullptr;
    QLabel* toolPane_ = nullptr;
    QLabel* readoutPane_ = nullptr;

    // The print preview while it shows, and what it hid.
    PrintPreviewPage* preview_ = nullptr;
    QList<QWidget*> hiddenForPreview_;

    Signal<unsigned>::Connection documentConnection_;
    Signal<>::Connection toolsConnection_;
    Signal<const std::string&>::Connection readoutConnection_;

    bool saveSettings_ = true;
    bool updating_ = false;
    bool updateAgain_ = false;
};

} // namespace zelvane
