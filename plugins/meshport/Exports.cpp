// The functions of meshport, the 3D Studio import plug-in: the seven of
// every plug-in and zelplug_ImportMaterials. Only these leave the library
// (meshport.map); the texts are static and live as long as the library.

#include "plugins/interface/PluginExports.h"
#include "plugins/meshport/MeshportImport.h"

extern "C" {

void zelplug_Import(const char* path, MeshSet* set)
{
    if (set)
        zelvane::meshport::ImportFile(path, *set);
}

void zelplug_ImportMaterials(const char* path, MeshSet* set, MeshMaterials* materials)
{
    if (set)
        zelvane::meshport::ImportFile(path, *set, materials);
}

const char* zelplug_GetMenuName(void)
{
    return "&3D Studio files";
}

const char* zelplug_GetName(void)
{
    return "3D Studio Importer";
}

const char* zelplug_GetDescription(void)
{
    return "Imports files made in the 3D Studio (3ds) format.";
}

const char* zelplug_GetAuthor(void)
{
    return "The zelvane developers";
}

const char* zelplug_GetFilterExt(void)
{
    return "3ds";
}

const char* zelplug_GetFilterName(void)
{
    return "3D Studio Files (*.3ds)";
}

} // extern "C"
