/*
 * A plug-in for the host's tests, built several times with different exports
 * (see CMakeLists.txt). Written in C, so the interface headers are proved to
 * be C as well.
 *
 * zelplug_Import reads the file's first word and answers with a set made
 * for the test: "triangle" a part with one good triangle, "empty" no parts,
 * "bad-vertex" / "bad-texcoord" a face with an index outside its part,
 * "negative-parts" a negative part count, "missing-faces" a face count
 * without a face array, "scribble" a good triangle after writing over the
 * host's fields of the set. Anything else leaves the set untouched.
 */

#include "plugins/interface/PluginExports.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifndef TESTPLUG_MENU_NAME
#define TESTPLUG_MENU_NAME "&Test meshes"
#endif

#ifdef TESTPLUG_IMPORT
static MeshPart* Triangle(int32_t vertexIndex, int32_t texIndex)
{
    MeshPart* part = calloc(1, sizeof(MeshPart));
    part->name = strdup("Tri");
    part->vertexCount = part->texCoordCount = 3;
    part->vertices = calloc(3, sizeof(MeshVertex));
    part->vertices[0] = (MeshVertex){-1.0f, 0.0f, 2.0f};
    part->vertices[1] = (MeshVertex){3.0f, 4.0f, 2.0f};
    part->vertices[2] = (MeshVertex){1.0f, -2.0f, 6.0f};
    part->texCoords = calloc(3, sizeof(MeshTexCoord));
    part->faceCount = 1;
    part->faces = calloc(1, sizeof(MeshFace));
    part->faces[0] = (MeshFace){{0, 1, vertexIndex}, {0, 1, texIndex}};
    return part;
}

static void ReadWord(const char* path, char word[32])
{
    FILE* file = fopen(path, "r");
    word[0] = '\0';
    if (file) {
        if (fscanf(file, "%31s", word) != 1)
            word[0] = '\0';
        fclose(file);
    }
}

ZELPLUG_EXPORT void zelplug_Import(const char* path, MeshSet* set)
{
    char word[32];
    ReadWord(path, word);
    if (strncmp(word, "mat-", 4) == 0)
        strcpy(word, "triangle");
    if (strcmp(word, "triangle") == 0) {
        set->partCount = 1;
        set->parts = Triangle(2, 2);
    } else if (strcmp(word, "empty") == 0) {
        set->partCount = 0;
        set->parts = malloc(1);
    } else if (strcmp(word, "bad-vertex") == 0) {
        set->partCount = 1;
        set->parts = Triangle(3, 2);
    } else if (strcmp(word, "bad-texcoord") == 0) {
        set->partCount = 1;
        set->parts = Triangle(2, -1);
    } else if (strcmp(word, "negative-parts") == 0) {
        set->partCount = -1;
    } else if (strcmp(word, "missing-faces") == 0) {
        set->partCount = 1;
        set->parts = Triangle(2, 2);
        free(set->parts[0].faces);
        set->parts[0].faces = NULL;
    } else if (strcmp(word, "scribble") == 0) {
        set->name = "scribbled";
        set->extentX = set->extentY = set->extentZ = -7.0f;
        set->partCount = 1;
        set->parts = Triangle(2, 2);
    }
}
#endif

#ifdef TESTPLUG_MATERIALS
ZELPLUG_EXPORT void zelplug_ImportMaterials(const char* path, MeshSet* set, MeshMaterials* materials)
{
    char word[32];
    char text[64];
    MeshMaterial* material;
    MeshFaceGroup* group;
    const char* slash = strrchr(path, '/');
    char* texture;
    zelplug_Import(path, set);
    ReadWord(path, word);
    if (strncmp(word, "mat-", 4) != 0)
        return;
    material = calloc(2, sizeof(MeshMaterial));
    snprintf(text, sizeof text, "version %d", (int)materials->version);
    material->name = strdup(text);
    material->ambient[0] = material->diffuse[0] = 1.0f;
    material->shininess = 20.0f;
    material->opacity = 1.0f;
    texture = calloc(1, (size_t)(slash - path) + sizeof "/tex.png");
    memcpy(texture, path, (size_t)(slash - path));
    strcat(texture, "/tex.png");
    material->texturePath = texture;
    group = calloc(2, sizeof(MeshFaceGroup));
    group->material = 0;
    group->faceCount = 1;
    group->faces = calloc(1, sizeof(int32_t));
    materials->materialCount = 1;
    materials->materials = material;
    materials->partCount = 1;
    materials->parts = calloc(1, sizeof(MeshPartGroups));
    materials->parts[0].groupCount = 1;
    materials->parts[0].groups = group;
    if (strcmp(word, "mat-bad-index") == 0)
        group->material = 1;
    else if (strcmp(word, "mat-bad-face") == 0)
        group->faces[0] = 1;
    else if (strcmp(word, "mat-nan") == 0)
        material->diffuse[1] = nanf("");
    else if (strcmp(word, "mat-bright") == 0)
        material->specular[2] = 1.5f;
    else if (strcmp(word, "mat-relative") == 0) {
        free(texture);
        material->texturePath = "tex.png";
    }
    else if (strcmp(word, "mat-twice") == 0) {
        materials->parts[0].groupCount = 2;
        group[1] = group[0];
    } else if (strcmp(word, "mat-parts") == 0)
        materials->partCount = 2;
    else if (strcmp(word, "mat-no-faces") == 0) {
        free(group->faces);
        group->faces = NULL;
    }
    else if (strcmp(word, "mat-two-sided") == 0)
        material->twoSided = 2;
}
#endif

#ifdef TESTPLUG_TEXTS
ZELPLUG_EXPORT const char* zelplug_GetMenuName(void)
{
    return TESTPLUG_MENU_NAME;
}

ZELPLUG_EXPORT const char* zelplug_GetName(void)
{
    return "Test Meshes";
}

ZELPLUG_EXPORT const char* zelplug_GetDescription(void)
{
    return "Reads the test plug-in's own files.";
}

ZELPLUG_EXPORT const char* zelplug_GetAuthor(void)
{
    return "The test suite";
}
#endif

#if defined(TESTPLUG_TEXTS) || defined(TESTPLUG_FILTER_EXT)
ZELPLUG_EXPORT const char* zelplug_GetFilterExt(void)
{
    return "tst";
}
#endif

#ifdef TESTPLUG_TEXTS
ZELPLUG_EXPORT const char* zelplug_GetFilterName(void)
{
    return "Test Meshes (*.tst)";
}
#endif

#ifdef TESTPLUG_MODEL
/* Several extensions, with an empty item, a repeat in another case and
   spaces and a dot to be cleaned off. */
ZELPLUG_EXPORT const char* zelplug_GetFilterExts(void)
{
    return "tst;TSX; ;.tsy;TST;";
}

/* As zelplug_Import, then units and notes by the file's first word:
   "triangle" 2.5 m per unit, +y up and two notes; "noted-empty" no parts and
   a note why; "bad-units" a scale that is no number and an unknown axis. */
ZELPLUG_EXPORT void zelplug_ImportModel(const char* path, MeshSet* set, MeshMaterials* materials, MeshModelInfo* info)
{
    char word[32];
    (void)materials;
    zelplug_Import(path, set);
    ReadWord(path, word);
    if (strcmp(word, "triangle") == 0) {
        info->metresPerUnit = 2.5f;
        info->upAxis = ZELPLUG_UP_Y;
        info->notes = strdup("one face was left out\n\nthe picture is missing");
    } else if (strcmp(word, "noted-empty") == 0) {
        set->partCount = 0;
        set->parts = malloc(1);
        info->notes = strdup("The model uses a compression this plug-in cannot decode.");
    } else if (strcmp(word, "bad-units") == 0) {
        info->metresPerUnit = NAN;
        info->upAxis = 7;
    }
}
#endif
