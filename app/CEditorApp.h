#pragma once
// The editor's start-up: the display check, the settings, the gamma table,
// the release notice, the one document with its frame and view, the splash,
// and a scene file named on the command line. Also what it keeps for the run.

#include <QObject>
#include <QSettings>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>

namespace zelvane {

class COGLDoc;
class CMainFrame;

// What the command line asks for.
struct EditorOptions {
    std::optional<std::string> gameFolder;
    bool splash = true; // --no-splash: no splash and no release notice (it waits for the next start)
    std::optional<std::string> sceneFile;
};

class CEditorApp : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kColourMessage =
        "You must run this program with more than 256 colors.  Please change the display setting and try again.";

    CEditorApp();
    ~CEditorApp() override;

    // Before the application object exists: with "ForceSWRender" set, Mesa is
    // asked for its software rasteriser before any context is made.
    static void ChooseRenderer();
    // Parses the command line; --help and --version print and end the program.
    static EditorOptions ParseCommandLine(const QStringList& arguments);

    // The steps of start-up in order. False ends the program (the display has
    // too few colours, or the scene file named could not be opened).
    bool InitInstance(const EditorOptions& options);
    // The first new-document command makes the document, frame and view;
    // later ones do nothing.
    void OnFileNew();
    // Opens a scene file as the Open command does; adds it to the recent files.
    bool OpenDocumentFile(const std::string& path);

    float Gamma() const { return gamma_; }
    bool SaveSettings() const { return saveSettings_; }
    const std::string& StartFolder() const { return startFolder_; }
    CMainFrame* MainFrame() const { return frame_.get(); }
    COGLDoc* Document() const { return document_.get(); }

    // The text of the release notice: what this version does, where to
    // report problems, where the finished object file goes.
    static std::string ReleaseNotice();
    // The notice shows once per version: whether this version's is still due,
    // and noting that it was shown.
    static bool ReleaseNoticeDue(QSettings& settings);
    static void NoteReleaseNoticeShown(QSettings& settings);

private:
    EditorOptions options_;
    bool documentCreated_ = false;
    std::string startFolder_;
    float gamma_ = 1.0f;
    bool saveSettings_ = true;
    std::unique_ptr<COGLDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
};

} // namespace zelvane
