// Feeds arbitrary file contents to the markup parser and reads back every
// element and attribute of what it accepts.
#include "ui/markup/MarkupDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwchar>

namespace {

size_t Walk(const ui::MarkupNode& first)
{
    size_t total = 0;
    for (ui::MarkupNode node = first; node.IsValid(); node = node.GetSibling()) {
        total += std::wcslen(node.GetName()) + std::wcslen(node.GetValue());
        for (uint32_t i = 0; i < node.GetAttributeCount(); ++i) {
            total += std::wcslen(node.GetAttributeName(i)) + std::wcslen(node.GetAttributeValue(i));
            total += std::wcslen(node.GetAttributeValue(node.GetAttributeName(i)));
        }
        if (node.GetChild().IsValid() && !node.GetChild().GetParent().IsValid()) {
            std::abort();
        }
        total += Walk(node.GetChild());
    }
    return total;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ui::MarkupDocument document;
    if (document.LoadFromFileData(data, size)) {
        Walk(document.GetRoot());
    } else if (document.GetErrorMessage()[0] == 0) {
        std::abort(); // a failure always says why
    }
    return 0;
}
