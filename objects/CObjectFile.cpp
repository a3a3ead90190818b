#include "objects/CObjectFile.h"

#include "resfile/ResType.h"

namespace zelvane {

CObjectFile::CObjectFile(std::string path, std::unique_ptr<CTGResFile> container)
    : path_(std::move(path)), container_(std::move(container))
{
}

CObjectFile::~CObjectFile()
{
    if (container_ && container_->IsOpen())
        static_cast<void>(container_->CloseContainer()); // nobody to tell: close explicitly to know
}

int32_t CObjectFile::BuildLists()
{
    objects_.clear();
    listed_.clear();
    palettes_.clear();
    const int16_t count = container_->CountResources(kTypeOBJD);
    for (int32_t i = 1; i <= count; ++i) {
        ResHandle* data = container_->GetIndResource(kTypeOBJD, i, nullptr);
        if (!data)
            return container_->GetLastError();
        int16_t id = 0;
        std::string name;
        container_->GetResId(data, id);
        container_->GetResName(data, name);
        ObjectDefinition definition = ObjectDefinition::FromBytes(data->Bytes());
        // The lists keep copies: the container need not hold every record.
        container_->ReleaseResource(data);
        objects_.push_back(std::make_unique<CObjectEntry>(*this, id, std::move(name), std::move(definition)));
    }

    for (const auto& object : objects_) {
        if (object->IsListed()) {
            listed_.push_back(object.get());
            continue;
        }
        const int16_t group = object->Definition().Word(objd::kGroupId / 2);
        for (const auto& candidate : objects_) {
            const ObjectDefinition& d = candidate->Definition();
            if (d.Word(objd::kGroupId / 2) == group && d.Word(objd::kGroupPlace / 2) == -1) {
                candidate->members_.push_back(object.get());
                object->master_ = candidate.get(); // the last master of the group wins
            }
        }
    }

    const int16_t palettes = container_->CountResources(kTypePALT);
    for (int32_t i = 1; i <= palettes; ++i) {
        ResHandle* data = container_->GetIndResource(kTypePALT, i, nullptr);
        if (!data)
            continue; // a palette that cannot be read leaves sprites with the default one
        PaletteRecord palette;
        container_->GetResId(data, palette.id);
        container_->GetResName(data, palette.name);
        palette.data.assign(data->Bytes().begin(), data->Bytes().end());
        container_->ReleaseResource(data);
        palettes_.push_back(std::move(palette));
    }
    return kResOk;
}

CObjectEntry* CObjectFile::FindObject(int16_t definitionId) const
{
    for (const auto& object : objects_)
        if (object->DefinitionId() == definitionId)
            return object.get();
    return nullptr;
}

} // namespace zelvane
