#pragma once
/*
 * What an imported file says about itself beyond its meshes and materials:
 * the length of one of its units, which way is up, and notes for the user.
 * Filled by plug-ins that export zelplug_ImportModel (PluginExports.h);
 * README.md in this folder explains the contract to plug-in writers.
 *
 * The editor sets version to ZELPLUG_MODEL_INFO_VERSION and every other
 * field to 0 or NULL before the call. A plug-in that knows nothing about a
 * file's units or axes leaves them so, and the editor sets the mesh up as it
 * sets up a 3D Studio file (1/20 of its size, turned a quarter about x).
 *
 * Ownership is that of the mesh records: notes is allocated from the
 * plug-in's heap and belongs to the editor once the import returns.
 *
 * Invariants a plug-in keeps (the editor checks each and ignores a field
 * that breaks one): metresPerUnit is 0 or a finite number in (0, 1e6];
 * upAxis is one of the ZELPLUG_UP_* values; notes is NULL or at most
 * ZELPLUG_MAX_NOTES bytes.
 */

#include "plugins/interface/MeshSet.h"

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The version of this record; the editor writes it before the call. A later
   version may add fields after the ones here, never change them. */
#define ZELPLUG_MODEL_INFO_VERSION 1

/* The axis of the file that points up; the others are right-handed with it. */
#define ZELPLUG_UP_UNKNOWN 0 /* the editor's 3D Studio set-up */
#define ZELPLUG_UP_Y 1       /* +y up, +z towards the viewer (glTF) */
#define ZELPLUG_UP_Z 2       /* +z up, -y towards the viewer (3D Studio) */

/* Longest notes, in bytes without the NUL. */
#define ZELPLUG_MAX_NOTES 65535

typedef struct MeshModelInfo {
    int32_t version;     /* written by the editor only */
    float metresPerUnit; /* how long one unit of the file is; 0: not known */
    int32_t upAxis;      /* ZELPLUG_UP_* */
    /* Lines for the user, separated by '\n': what was left out or could not
       be read ("3 faces point past their vertices and were left out"). With
       faces in the set they are shown as warnings; with none, the first line
       is why nothing could be imported ("uses Draco mesh compression
       (KHR_draco_mesh_compression), which cannot be read"). NULL for none. */
    const char* notes;
} MeshModelInfo;

ZELPLUG_STATIC_ASSERT(sizeof(MeshModelInfo) == (sizeof(void*) == 4 ? 16 : 24), "MeshModelInfo layout");

#ifdef __cplusplus
}
#endif
