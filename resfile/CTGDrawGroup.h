#pragma once
// Draw groups ('DGRP'): an object's images, one per view direction and zoom,
// each a list of sprite references that name a sprite resource and place it.

#include "resfile/CTGResFile.h"

#include <bit>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zelvane {

struct DrawGroupSprite {
    int32_t spriteId = 0;
    int32_t value1 = 0;
    int32_t value2 = 0;
    int32_t value3 = 0;
    uint32_t value4 = 0; // raw bytes; a float in version 20004
    uint32_t value5 = 0;
    uint32_t value6 = 0;
    int32_t flags = 0;

    static float AsFloat(uint32_t raw) { return std::bit_cast<float>(raw); }
};

struct DrawGroupImage {
    std::vector<DrawGroupSprite> sprites;
    int32_t direction = 0;
    int32_t zoom = 0;
};

class CTGDrawGroup {
public:
    // Reads DGRP `id`. Returns 0, the container's error when it has no such
    // resource, or -96 when the data is cut short or its counts cannot fit.
    [[nodiscard]] int32_t Load(CTGResFile& container, int16_t id);
    // Decodes stored bytes (what Load does after reading). 0 or -96; on
    // failure the group is empty.
    [[nodiscard]] int32_t Decode(std::span<const uint8_t> data);

    // Replaces the contents, for groups made by tools.
    void Set(std::string name, uint16_t version, std::vector<DrawGroupImage> images);
    // The group in the long layout of its version (20003 or later; earlier
    // versions are written as 20004). Short-layout groups are read only.
    std::vector<uint8_t> Encode() const;

    const std::string& Name() const { return name_; }
    uint16_t Version() const { return version_; }
    size_t ImageCount() const { return images_.size(); }
    const DrawGroupImage& Image(size_t i) const { return images_.at(i); }
    const std::vector<DrawGroupImage>& Images() const { return images_; }

private:
    std::string name_;
    uint16_t version_ = 0;
    std::vector<DrawGroupImage> images_;
};

} // namespace zelvane
