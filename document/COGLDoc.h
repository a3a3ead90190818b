#pragma once
// The editor's one document: it finds the game folder and owns the catalog of
// the game's objects, rebuilt at every new document, and the undo history of
// the scene's changes.

#include "document/UndoHistory.h"
#include "objects/GameFolder.h"
#include "objects/ObjectCatalog.h"

#include <optional>
#include <string>
#include <vector>

namespace zelvane {

class COGLDoc {
public:
    COGLDoc(std::optional<std::string> commandLineGameFolder, std::vector<std::string> sampleFolders);

    // The new-document step: finds the game folder again and rebuilds the catalog.
    void OnNewDocument();

    const GameFolderChoice& GameFolder() const { return gameFolder_; }
    const ObjectCatalog& Catalog() const { return catalog_; }
    ObjectCatalog& Catalog() { return catalog_; }

    // Every change of the scene, undoable; emptied when a scene is made or
    // opened.
    UndoHistory& History() { return history_; }
    const UndoHistory& History() const { return history_; }

private:
    std::optional<std::string> commandLineGameFolder_;
    std::vector<std::string> sampleFolders_;
    GameFolderChoice gameFolder_;
    ObjectCatalog catalog_;
    UndoHistory history_;
};

} // namespace zelvane
