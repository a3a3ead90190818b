#include "tools/ObjWriter.h"

#include <charconv>

namespace zelvane {

void ObjWriter::Line(std::string_view text)
{
    text_ += text;
    text_ += '\n';
}

void ObjWriter::Statement(std::string_view keyword, std::string_view rest)
{
    text_ += keyword;
    text_ += ' ';
    text_ += rest;
    text_ += '\n';
}

void ObjWriter::Number(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text_.append(buffer, result.ptr);
}

void ObjWriter::Integer(int64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text_.append(buffer, result.ptr);
}

void ObjWriter::Vertex(float x, float y, float z)
{
    text_ += "v ";
    Number(x);
    text_ += ' ';
    Number(y);
    text_ += ' ';
    Number(z);
    text_ += '\n';
}

void ObjWriter::TexCoord(float u, float v)
{
    text_ += "vt ";
    Number(u);
    text_ += ' ';
    Number(v);
    text_ += '\n';
}

void ObjWriter::Face(const std::vector<std::pair<int64_t, int64_t>>& corners)
{
    text_ += 'f';
    for (const auto& [vertex, texCoord] : corners) {
        text_ += ' ';
        Integer(vertex);
        if (texCoord != 0) {
            text_ += '/';
            Integer(texCoord);
        }
    }
    text_ += '\n';
}

std::string WriteMtl(const std::vector<ObjMaterialRecord>& materials)
{
    std::string text;
    const auto colour = [&](const char* keyword, const std::array<float, 3>& c) {
        text += keyword;
        for (float channel : c)
            text += ' ' + std::to_string(channel);
        text += '\n';
    };
    for (const ObjMaterialRecord& material : materials) {
        text += "newmtl " + material.name + "\n";
        colour("Ka", material.ambient);
        colour("Kd", material.diffuse);
        colour("Ks", material.specular);
        text += "Ns " + std::to_string(material.exponent) + "\n";
        text += "d " + std::to_string(material.dissolve) + "\n";
        if (!material.diffuseMap.empty())
            text += "map_Kd " + (material.mapOptions.empty() ? "" : material.mapOptions + " ") + material.diffuseMap + "\n";
        text += "\n";
    }
    return text;
}

} // namespace zelvane
