#pragma once
// The file dialogs of the main window's commands, with the design's titles,
// filters and starting folders: Open and Save of scene files, Save Image, and
// the file locator's question for a texture that cannot be found. Each Ask
// function runs its dialog modally and returns the answer, nothing for
// Cancel; each Make function builds the dialog it runs, for callers that
// need it (and tests that look at it).

#include "document/ImageFileChoice.h"

#include <QFileDialog>

#include <memory>
#include <optional>
#include <string>

namespace zelvane {

inline constexpr const char* kSceneFilter = "zelvane Scenes (*.cgs)";
inline constexpr const char* kLocateTitle = "This TEXTURE cannot be located.  Please find it or Click Cancel.";

// "&Open...": a scene file to open.
std::unique_ptr<QFileDialog> MakeOpenSceneDialog(QWidget* parent);
std::optional<std::string> AskOpenScenePath(QWidget* parent);

// "&Save": where to save the scene, starting in the "Scenes" folder; a name
// typed without an extension gets ".cgs", and an existing file is replaced
// only when the user agrees.
std::unique_ptr<QFileDialog> MakeSaveSceneDialog(QWidget* parent);
std::optional<std::string> AskSaveScenePath(QWidget* parent);

// "Save Image": bitmap, Targa or all files; the chosen filter's extension is
// added to a name typed without one before the dialog checks for a file to
// replace. The answer means what ChooseImageFile says (which tells the user
// when "All Files" was chosen with an extension it cannot write).
std::unique_ptr<QFileDialog> MakeSaveImageDialog(QWidget* parent);
std::optional<ImageFileChoice> AskSaveImage(QWidget* parent);

// The file locator's dialog: the stored texture `path` could not be found
// beside the scene file in `sceneFolder`. The dialog starts there and proposes
// the stored file name (a stored Windows path names no folder here). The full
// path of the file the user picks, or nothing when the user gives up.
std::unique_ptr<QFileDialog> MakeLocateTextureDialog(QWidget* parent, const std::string& path,
                                                     const std::string& sceneFolder);
std::optional<std::string> AskLocateTexture(QWidget* parent, const std::string& path, const std::string& sceneFolder);

} // namespace zelvane
