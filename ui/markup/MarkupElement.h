#pragma once

#include <cstdint>

namespace ui {

// One element of a parsed document. Names and text are indices into the
// document's text buffer; links are indices into its element table, 0
// meaning none (record 0 is reserved).
struct MarkupElement {
    uint32_t nameStart = 0;
    uint32_t firstChild = 0;
    uint32_t nextSibling = 0;
    uint32_t parent = 0;
    uint32_t dataStart = 0;
};

} // namespace ui
