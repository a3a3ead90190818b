#pragma once
// How zelvane-cli's commands name an object file, and an object in it.
//
// FILE is a path, or a catalog path: a path below the game folder as
// `catalog` prints it ("GameData/Objects/armchair.iff"), which may lie inside
// one of the game's FAR archives. A relative FILE that is not there as given
// is looked for below the game folder (--game-folder, else the one `catalog`
// would use); with --game-folder it is looked for there first.
//
// An object is FILE with --id, or --guid: the object with that GUID, in FILE
// when one is given, else anywhere in the game's catalog. FILE alone names
// its first object (as its object list shows them, the one the editor's
// property editor edits), and the tool says which once it has done its work.

#include "objects/ObjectFileOpener.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelvane {
class CObjectEntry;
class ObjectCatalog;
} // namespace zelvane

namespace zelvane::cli {

struct ObjectFileArgument {
    std::string file;
    std::string gameFolder;
};

enum class FileNeed { Required, Optional };

// FILE (positional) and --game-folder.
void AddObjectFileArgument(CLI::App& command, ObjectFileArgument& argument, std::string_view help,
                           FileNeed need = FileNeed::Required);

// The path FILE stands for (see the file comment). False, with `subject` and
// `error`, when --game-folder names no folder, or a relative FILE is neither
// there nor below the game folder.
[[nodiscard]] bool ResolveObjectPath(const ObjectFileArgument& argument, std::string& path, std::string& subject,
                                     std::string& error);

// Resolves FILE and opens it as ObjectFileOpener::Open does. False with the
// file to name in `subject` and the reason in `error`.
[[nodiscard]] bool OpenObjectFile(const ObjectFileArgument& argument, const ObjectFileOptions& options,
                                  ObjectFileOpener& opener, std::string& subject, std::string& error);

struct ObjectArgument {
    ObjectFileArgument where;
    std::optional<int32_t> id;
    std::string guid;
};

enum class FileSpelling { Positional, Option, Base }; // FILE, --file, or --base

// FILE (or --file or --base), --game-folder, --id and --guid (which excludes --id).
void AddObjectArguments(CLI::App& command, ObjectArgument& argument, std::string_view fileHelp,
                        FileSpelling spelling, std::string_view idHelp);

struct FoundObject {
    std::string path; // resolved, ready to open
    int16_t id = 0;   // its OBJD id
    // When FILE alone named it: which object that is, to be said once the
    // command has done its work.
    std::string chosen;
};

// Says on stderr which object FILE alone named, when `status` is success
// (a failure keeps to its one line); returns `status`.
int SayWhichObjectWhenDone(const FoundObject& found, int status);

// FILE with --id (else FILE's first object, `chosen` saying which), or the
// one object with --guid's GUID: in FILE when given, else in the game's
// catalog. False with `subject` and `error` when FILE is missing or holds no
// object, the GUID is not one, or no object or more than one has it.
[[nodiscard]] bool FindObject(const ObjectArgument& argument, FoundObject& found, std::string& subject,
                              std::string& error);

// "0x5A3E0A00": how commands write GUIDs.
std::string GuidText(uint32_t guid);

// An object's file as `catalog` shows it: relative to the game folder.
std::string CatalogPathOf(const ObjectCatalog& catalog, const CObjectEntry& object);

} // namespace zelvane::cli
