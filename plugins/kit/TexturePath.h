#pragma once
// Where the picture a 3D Studio material names lies on this machine. Files
// made on Windows name it as "WOOD.JPG", "maps\wood.jpg" or
// "C:\3dsmax\maps\wood.jpg", while the file beside the model may be
// "wood.jpg": the name is looked for against the model file's folder, each
// step of it matched without regard to ASCII case.

#include <string>
#include <string_view>

namespace zelvane::pluginkit {

// The absolute path of the picture `textureName` names for the model file at
// `modelPath`: the name's folders and file below the model's folder (a
// Windows drive or a leading "\" keeps only the file name), found without
// regard to case, else the file name alone in the model's folder. When
// neither exists, the path where it would be (so that the editor can say
// which file is missing). Empty for an empty name, and for a result longer
// than `maxLength` bytes.
std::string ResolveTexturePath(std::string_view modelPath, std::string_view textureName, size_t maxLength);

} // namespace zelvane::pluginkit
