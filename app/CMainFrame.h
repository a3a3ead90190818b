#pragma once
// The editor's single top-level window: menus and a toolbar holding the
// view's commands, a status bar with the current tool's name and the tools'
// readout, and the OpenGL view filling the client area. Every command is a
// QAction found by its number; after every command, selection or tool change
// the actions' enable and check states are brought up to date.

#include <QHash>
#include <QMainWindow>

class QAction;
class QLabel;

namespace zelvane {

class COGLDoc;
class COGLView;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(COGLDoc& document, QWidget* parent = nullptr);
    ~CMainFrame() override;

    COGLView* View() const { return view_; }
    // The action of a command number (either number of a camera preset), or null.
    QAction* Action(int commandId) const { return actions_.value(commandId, nullptr); }
    // Says in the status bar how many objects the catalog holds, and from where.
    void ShowCatalogSummary(const COGLDoc& document);

    // Whether closing the window stores the bars' layout under "Bars".
    void SetSaveSettings(bool save) { saveSettings_ = save; }

    // Brings every action's enable and check state, the Undo and Redo texts
    // and the tool's name up to date.
    void UpdateCommandStates();

    // The text of the status bar's tool-name and readout panes.
    QString ToolPaneText() const;
    QString ReadoutPaneText() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenusAndToolbar();
    void CreateStatusBar();
    void Run(int commandId);

    COGLDoc& document_;
    COGLView* view_;
    QHash<int, QAction*> actions_;
    QLabel* toolPane_ = nullptr;
    QLabel* readoutPane_ = nullptr;
    bool saveSettings_ = true;
    bool updating_ = false;
    bool updateAgain_ = false;
};

} // namespace zelvane
