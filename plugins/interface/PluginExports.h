#pragma once
/*
 * The functions an import plug-in exports, looked up by these names: the
 * seven of every plug-in, then optional additions (README.md in this folder).
 *
 * Only zelplug_Import is required; the host substitutes its own text for
 * each missing text function. The text functions are called once, right
 * after loading, and their strings must stay valid while the library is
 * loaded (libraries are never unloaded). No export may let an exception or
 * an error code out: zelplug_Import that cannot read a file leaves
 * partCount at 0 and parts pointing to an allocation of zero elements.
 */

#include "plugins/interface/MeshMaterials.h"
#include "plugins/interface/MeshModelInfo.h"
#include "plugins/interface/MeshSet.h"

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define ZELPLUG_EXPORT __attribute__((visibility("default")))
#else
#define ZELPLUG_EXPORT
#endif

/* Reads the file at `path` (NUL-terminated) into set->partCount and set->parts. */
typedef void (*ZelplugImportFunction)(const char* path, MeshSet* set);
/* Returns a static NUL-terminated text. */
typedef const char* (*ZelplugTextFunction)(void);
/* Reads the file at `path` as zelplug_Import does, and its materials into
   `materials` (MeshMaterials.h). */
typedef void (*ZelplugImportMaterialsFunction)(const char* path, MeshSet* set, MeshMaterials* materials);
/* Reads the file at `path` as zelplug_ImportMaterials does, and what the file
   says about itself into `info` (MeshModelInfo.h). */
typedef void (*ZelplugImportModelFunction)(const char* path, MeshSet* set, MeshMaterials* materials,
                                           MeshModelInfo* info);

#define ZELPLUG_IMPORT "zelplug_Import"
#define ZELPLUG_GET_MENU_NAME "zelplug_GetMenuName"
#define ZELPLUG_GET_NAME "zelplug_GetName"
#define ZELPLUG_GET_DESCRIPTION "zelplug_GetDescription"
#define ZELPLUG_GET_AUTHOR "zelplug_GetAuthor"
#define ZELPLUG_GET_FILTER_EXT "zelplug_GetFilterExt"
#define ZELPLUG_GET_FILTER_NAME "zelplug_GetFilterName"

/* Optional additions: a plug-in without them works as one with the seven. */
#define ZELPLUG_IMPORT_MATERIALS "zelplug_ImportMaterials"
#define ZELPLUG_GET_FILTER_EXTS "zelplug_GetFilterExts"
#define ZELPLUG_IMPORT_MODEL "zelplug_ImportModel"

/* Separates the extensions of zelplug_GetFilterExts. */
#define ZELPLUG_EXTENSION_SEPARATOR ';'

ZELPLUG_EXPORT void zelplug_Import(const char* path, MeshSet* set);
/* Text of the File > Import menu item; may hold an "&" accelerator mark. */
ZELPLUG_EXPORT const char* zelplug_GetMenuName(void);
ZELPLUG_EXPORT const char* zelplug_GetName(void);
/* One line. */
ZELPLUG_EXPORT const char* zelplug_GetDescription(void);
ZELPLUG_EXPORT const char* zelplug_GetAuthor(void);
/* The file extension without the dot, e.g. "3ds". */
ZELPLUG_EXPORT const char* zelplug_GetFilterExt(void);
/* The file type shown in the open dialog, e.g. "3D Studio Files (*.3ds)". */
ZELPLUG_EXPORT const char* zelplug_GetFilterName(void);

/* Optional. When exported, the editor calls it instead of zelplug_Import
   (which must still be exported): it fills `set` exactly as zelplug_Import
   would and may fill `materials`, whose version the editor has set to
   ZELPLUG_MATERIALS_VERSION and whose other fields it has cleared. A plug-in
   that knows only an earlier version leaves the records of later versions
   alone; one that has no materials for the file leaves `materials` as it is. */
ZELPLUG_EXPORT void zelplug_ImportMaterials(const char* path, MeshSet* set, MeshMaterials* materials);

/* Optional. Every file extension the plug-in reads, without dots, separated
   by ';' ("gltf;glb;obj"), called once after loading like the other text
   functions. When exported, the editor offers all of them and ignores
   zelplug_GetFilterExt (keep that exported, naming the first, for editors
   that know only the seven functions). */
ZELPLUG_EXPORT const char* zelplug_GetFilterExts(void);

/* Optional. When exported, the editor calls it instead of
   zelplug_ImportMaterials and zelplug_Import (keep those exported): it fills
   `set` and `materials` exactly as zelplug_ImportMaterials would, and `info`
   (MeshModelInfo.h) with the model's units, its up axis and notes for the
   user. The editor has set info->version to ZELPLUG_MODEL_INFO_VERSION and
   every other field to 0 or NULL. */
ZELPLUG_EXPORT void zelplug_ImportModel(const char* path, MeshSet* set, MeshMaterials* materials,
                                        MeshModelInfo* info);

#ifdef __cplusplus
}
#endif
