// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "assets/images.h"

namespace {

// One entry of the table the assembler builds beside the embedded files.
struct ResourceEntry {
    int32_t id;
    int32_t unused;
    int64_t offset; // bytes from the start of the table to the resource's first byte
    int64_t size;   // bytes
};

} // namespace

extern "C" const ResourceEntry skarnwing_resource_table[];
extern "C" const ResourceEntry skarnwing_resource_table_end[];

ResourceData findResource(int32_t id) {
    const uint8_t* base = reinterpret_cast<const uint8_t*>(skarnwing_resource_table);
    for (const ResourceEntry* entry = skarnwing_resource_table; entry != skarnwing_resource_table_end; ++entry) {
        if (entry->id == id) return ResourceData{base + entry->offset, static_cast<size_t>(entry->size)};
    }
    return ResourceData{};
}
