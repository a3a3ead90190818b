#pragma once
// One object of an object file: its OBJD resource id and name, its normalised
// record, its catalog strings once read, and its place in a multi-tile group
// (a master with its members, or a member with its master).

#include "objects/CatalogStrings.h"
#include "objects/ObjectDefinition.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelvane {

class CObjectFile;

// What lists and panels show of an object.
struct ObjectSummary {
    std::string name;
    std::string description;
    int16_t price = 0;
};

class CObjectEntry {
public:
    CObjectEntry(CObjectFile& owner, int16_t definitionId, std::string resourceName, ObjectDefinition definition);

    CObjectFile& Owner() const { return *owner_; }
    int16_t DefinitionId() const { return definitionId_; }
    const std::string& ResourceName() const { return resourceName_; }
    const ObjectDefinition& Definition() const { return definition_; }

    // A single object or the master of a multi-tile group.
    bool IsListed() const;
    CObjectEntry* Master() const { return master_; }
    const std::vector<CObjectEntry*>& Members() const { return members_; }

    // Reads the catalog name and description from the owner's container
    // ('CATS' first, then 'CTSS'); unreadable strings stay marked so.
    void ReadCatalogStrings();
    const CatalogStrings& Catalog() const { return catalog_; }

    // Reads the record, its resource name and the catalog strings again from
    // the owner's container, after an editor has written them there. Returns
    // 0, or the container's error; the entry then keeps what it had. The
    // object's place in its group is not re-examined.
    [[nodiscard]] int32_t Reread();

    // The catalog strings when readable, else the "not defined" texts; the price.
    ObjectSummary Summary() const;

private:
    friend class CObjectFile;

    CObjectFile* owner_;
    int16_t definitionId_;
    std::string resourceName_;
    ObjectDefinition definition_;
    CatalogStrings catalog_; // unreadable until read
    CObjectEntry* master_ = nullptr;
    std::vector<CObjectEntry*> members_;
};

} // namespace zelvane
