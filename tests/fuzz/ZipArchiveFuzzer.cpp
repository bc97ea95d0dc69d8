// Opens arbitrary bytes as a ZIP archive and extracts every entry, by
// index and by name, into buffers of the announced size.
#include "ui/markup/TextEncoding.h"
#include "ui/markup/ZipArchive.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint32_t result = 0;
    // The first byte picks the password, so encrypted entries get exercised.
    const char* password = (size > 0 && (data[0] & 1)) ? "secret" : "";
    auto archive = ui::ZipArchive::Open(data, size, password, result);
    if (!archive) {
        return 0;
    }
    const uint32_t entries = archive->GetEntryCount() < 64 ? archive->GetEntryCount() : 64;
    for (uint32_t i = 0; i < entries; ++i) {
        ui::ZipEntryInfo info;
        if (archive->GetEntryInfo(i, info) != ui::ZipArchive::kOk) {
            continue;
        }
        // Keep announced sizes within what a fuzzing run can allocate.
        const size_t room = info.uncompressedSize < (1u << 16) ? info.uncompressedSize : (1u << 16);
        std::vector<uint8_t> buffer(room);
        archive->UnzipToMemory(i, buffer.data(), buffer.size());
        uint32_t found = 0;
        archive->FindEntry(ui::TextEncoding::WideToUtf8(info.name), found);
    }
    archive->Close();
    return 0;
}
