// The Linux side of embedded resources: glimmora_embed_resources generates,
// for each program, a .cpp with one byte array per file and a table that
// registers itself here before main runs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Resources.h"

struct TEmbeddedResource {
    const char* Name;       // already in upper case
    TResourceKind Kind;
    const std::uint8_t* Data;
    std::size_t Size;
};

// Adds a generated table; the table must outlive the program (static data).
bool RegisterEmbeddedResources(const TEmbeddedResource* Table, std::size_t Count);
