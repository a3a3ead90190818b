// The functions of modelport, the glTF and OBJ import plug-in: the seven of
// every plug-in and the optional zelplug_ImportMaterials,
// zelplug_GetFilterExts and zelplug_ImportModel. Only these leave the
// library (modelport.map); the texts are static.

#include "plugins/interface/PluginExports.h"
#include "plugins/modelport/ModelportImport.h"

extern "C" {

void zelplug_Import(const char* path, MeshSet* set)
{
    if (set)
        zelvane::modelport::ImportFile(path, *set, nullptr, nullptr);
}

void zelplug_ImportMaterials(const char* path, MeshSet* set, MeshMaterials* materials)
{
    if (set)
        zelvane::modelport::ImportFile(path, *set, materials, nullptr);
}

void zelplug_ImportModel(const char* path, MeshSet* set, MeshMaterials* materials, MeshModelInfo* info)
{
    if (set)
        zelvane::modelport::ImportFile(path, *set, materials, info);
}

const char* zelplug_GetMenuName(void)
{
    return "&glTF and OBJ models";
}

const char* zelplug_GetName(void)
{
    return "glTF and OBJ Importer";
}

const char* zelplug_GetDescription(void)
{
    return "Imports glTF 2.0 (gltf, glb) and Wavefront OBJ (obj) models with their materials.";
}

const char* zelplug_GetAuthor(void)
{
    return "The zelvane developers";
}

const char* zelplug_GetFilterExt(void)
{
    return "gltf";
}

const char* zelplug_GetFilterExts(void)
{
    return "gltf;glb;obj";
}

const char* zelplug_GetFilterName(void)
{
    return "glTF and OBJ Models (*.gltf *.glb *.obj)";
}

} // extern "C"
