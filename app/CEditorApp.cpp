#include "app/CEditorApp.h"

#include "app/CMainFrame.h"
#include "app/CSplashWindow.h"
#include "app/QtOpenFileDialog.h"
#include "app/StatusBarProgress.h"
#include "app/UserGuide.h"
#include "document/COGLDoc.h"
#include "objects/GameFolder.h"
#include "report/OpenFileDialog.h"
#include "report/ProgramFolders.h"
#include "report/ProgressDisplay.h"
#include "report/Reporter.h"
#include "report/Version.h"
#include "scene/TextureMaths.h"
#include "view/COGLView.h"
#include "view/EditorSettings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QScreen>

#include <cstdlib>

// Resources of a static library are registered by name, outside any namespace.
static void RegisterIcons()
{
    Q_INIT_RESOURCE(zelvane);
}

namespace zelvane {

namespace {

constexpr int kDefaultGamma = 100;

} // namespace

CEditorApp::CEditorApp() : startFolder_(zelvane::StartFolder())
{
    RegisterIcons();
}

CEditorApp::~CEditorApp()
{
    if (frame_) {
        SetProgressDisplay(nullptr);
        SetOpenFileDialog(nullptr);
    }
    // The view's settings are written while the frame goes, before the document.
    frame_.reset();
}

void CEditorApp::ChooseRenderer()
{
    if (OpenEditorSettings()->value(QStringLiteral("Settings/ForceSWRender"), 0).toInt() != 0)
        qputenv("LIBGL_ALWAYS_SOFTWARE", "1");
}

EditorOptions CEditorApp::ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Editor for The Sims object files"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QStringLiteral("game-folder"), QStringLiteral("The game's installation folder."),
                      QStringLiteral("DIR")});
    parser.addOption({QStringLiteral("no-splash"),
                      QStringLiteral("Start without the splash picture and the release notice.")});
    parser.addPositionalArgument(QStringLiteral("scene"), QStringLiteral("A scene file (.cgs) to open."),
                                 QStringLiteral("[scene]"));
    parser.process(arguments);

    EditorOptions options;
    if (parser.isSet(QStringLiteral("game-folder")))
        options.gameFolder = QFile::encodeName(parser.value(QStringLiteral("game-folder"))).toStdString();
    options.splash = !parser.isSet(QStringLiteral("no-splash"));
    if (!parser.positionalArguments().isEmpty())
        options.sceneFile = QFile::encodeName(parser.positionalArguments().constFirst()).toStdString();
    return options;
}

std::string CEditorApp::ReleaseNotice()
{
    return std::string("This is zelvane ") + kProgramVersion +
           ", an early release made to test what it does and how the work flows. It may still crash or lose "
           "work: save your scenes often, and please report problems, suggestions and questions in the forums at " +
           kWebPageAddress +
           ".\n\n"
           "What this version does: it clones an object of your game into an object file of your own with new "
           "GUIDs, edits its properties, builds a 3-D scene of boxes, spheres, text and models imported from 3D "
           "Studio, glTF and OBJ files, and renders that scene into the object's pictures (Object \u25B8 Render "
           "Sprites from Scene). To recolour an object, export its pictures, paint them in any image editor and "
           "import them back (Object \u25B8 Export Sprites, Import Sprites). Scenes it saves will open in later "
           "versions.\n\n"
           "zelvane never changes the game's own files. When your object is ready, copy its object file (the "
           ".iff saved beside your scene) into the game's Downloads folder.\n\n"
           "This notice shows once for each version; Help \u25B8 Contents has the whole guide.";
}

bool CEditorApp::ReleaseNoticeDue(QSettings& settings)
{
    return settings.value(QStringLiteral("Settings/ReleaseNoticeShown")).toString()
        != QString::fromLatin1(kProgramVersion);
}

void CEditorApp::NoteReleaseNoticeShown(QSettings& settings)
{
    settings.setValue(QStringLiteral("Settings/ReleaseNoticeShown"), QString::fromLatin1(kProgramVersion));
}

bool CEditorApp::InitInstance(const EditorOptions& options)
{
    options_ = options;

    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen && screen->depth() <= 8) {
        CurrentReporter().ShowMessage(kColourMessage, MessageIcon::Stop, MessageButtons::Ok);
        return false;
    }

    const auto settings = OpenEditorSettings();
    saveSettings_ = settings->value(QStringLiteral("Settings/SaveSettings"), 1).toInt() != 0;
    gamma_ = static_cast<float>(settings->value(QStringLiteral("Settings/Gamma"), kDefaultGamma).toInt()) * 0.01f;
    BuildGammaTable(gamma_);

    if (options_.splash && ReleaseNoticeDue(*settings)) {
        CurrentReporter().ShowMessage(ReleaseNotice(), MessageIcon::Information, MessageButtons::Ok);
        NoteReleaseNoticeShown(*settings);
    }

    OnFileNew();
    frame_->showMaximized();
    // The view makes its scene when its context exists, which needs the
    // window on the screen; a scene file is opened into that scene. One that
    // cannot be opened leaves the editor with its new scene and the message.
    if (options_.sceneFile) {
        frame_->View()->grabFramebuffer();
        static_cast<void>(OpenDocumentFile(*options_.sceneFile));
    }
    return true;
}

void CEditorApp::OnFileNew()
{
    if (documentCreated_)
        return;
    documentCreated_ = true;
    document_ = std::make_unique<COGLDoc>(options_.gameFolder, SampleGameFolders(ExecutableFolder()));
    frame_ = std::make_unique<CMainFrame>(*document_);
    frame_->SetSaveSettings(saveSettings_);
    // Work below the GUI (reading a scene file) shows its progress and asks
    // for files through the frame.
    SetProgressDisplay(&frame_->Progress());
    SetOpenFileDialog(&frame_->OpenFileDialog());
    document_->OnNewDocument();
    frame_->ShowCatalogSummary(*document_);
    if (options_.splash)
        CSplashWindow::Show(frame_.get());
}

bool CEditorApp::OpenDocumentFile(const std::string& path)
{
    return frame_ && frame_->OpenDocumentFile(path);
}

} // namespace zelvane
