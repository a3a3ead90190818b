#pragma once
// The file dialogs of the main window's commands, with their titles,
// filters and starting folders: Open and Save of scene files, Save Image, and
// the open-file questions of code below the GUI (the file locator's question
// for a texture that cannot be found, the Import command's mesh file). Each
// Ask function runs its dialog modally and returns the answer, nothing for
// Cancel; each Make function builds the dialog it runs, for callers that
// need it (and tests that look at it).

#include "document/SaveViewImage.h"
#include "report/OpenFileDialog.h"

#include <QFileDialog>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>

namespace zelvane {

inline constexpr const char* kSceneFilter = "zelvane Scenes (*.cgs)";

// Each kind of file dialog starts in the folder the last one of its kind
// took a file from (settings "Folders/...").
inline constexpr const char* kScenesFolderKind = "Scenes";
inline constexpr const char* kImagesFolderKind = "Images";
inline constexpr const char* kImportFolderKind = "Import";

// "&Open...": a scene file to open.
std::unique_ptr<QFileDialog> MakeOpenSceneDialog(QWidget* parent);
std::optional<std::string> AskOpenScenePath(QWidget* parent);

// "Save &As...": where to save the scene, starting where scenes were last
// opened or saved (at first the "Scenes" folder), proposing the scene's
// current file; a name typed without an extension gets ".cgs", and an
// existing file is replaced only when the user agrees.
std::unique_ptr<QFileDialog> MakeSaveSceneDialog(QWidget* parent, const std::string& currentPath = {});
std::optional<std::string> AskSaveScenePath(QWidget* parent, const std::string& currentPath = {});

// "Save Image": bitmap, Targa or all files; the chosen filter's extension is
// added to a name typed without one before the dialog checks for a file to
// replace. The answer is the name and the filter; SaveViewImage decides what
// they mean.
struct SaveImageAnswer {
    std::string path;
    ImageFilter filter = ImageFilter::Bitmap;
};
std::unique_ptr<QFileDialog> MakeSaveImageDialog(QWidget* parent);
std::optional<SaveImageAnswer> AskSaveImage(QWidget* parent);

// A filter in the Windows form ("Windows Bitmap (*.bmp)|*.bmp||": pairs of
// description and ";"-separated patterns) as Qt's name filters; a description
// without its patterns in brackets gets them.
QStringList NameFiltersOf(const std::string& filter);

// An open-file question: its title, filter and starting folder, proposing the
// file name of `proposedName` (a stored Windows path names no folder here).
std::unique_ptr<QFileDialog> MakeOpenFileDialog(QWidget* parent, const OpenFileQuestion& question);
std::optional<std::string> AskOpenFile(QWidget* parent, const OpenFileQuestion& question);

} // namespace zelvane
