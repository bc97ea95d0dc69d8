#pragma once

#include "ui/markup/ZipEntryInfo.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace ui {

// Reads a ZIP archive held in memory that it does not own: stored and
// deflated entries, optionally with traditional PKWARE encryption. One
// thread at a time: the archive keeps a cursor in its central directory.
class ZipArchive {
public:
    static constexpr uint32_t kOk = 0;
    static constexpr uint32_t kCannotOpen = 512;
    static constexpr uint32_t kNotFound = 1280;
    static constexpr uint32_t kBufferTooSmall = 1536;
    static constexpr uint32_t kCorrupt = 1792;
    static constexpr uint32_t kWrongPassword = 4096;
    static constexpr uint32_t kNoArchive = 65536;
    static constexpr uint32_t kNotOpenForReading = 524288;
    static constexpr uint32_t kInflateFailed = 83886080;

    // data must stay valid while the archive is open. Null data gives
    // kNoArchive, data without a valid end record kCannotOpen.
    static std::unique_ptr<ZipArchive> Open(const uint8_t* data, size_t size,
                                            std::string_view password, uint32_t& result);
    // Later calls answer kNotOpenForReading.
    void Close() { m_open = false; }

    uint32_t GetEntryCount() const { return m_entryCount; }
    // Compares names byte by byte with ASCII letters folded.
    uint32_t FindEntry(std::string_view utf8Name, uint32_t& index);
    uint32_t GetEntryInfo(uint32_t index, ZipEntryInfo& info);
    // Fills the start of buffer with the entry's bytes; fails when they
    // do not fit, are corrupt, or fail the password or CRC check.
    uint32_t UnzipToMemory(uint32_t index, uint8_t* buffer, size_t size);

private:
    struct CentralRecord;

    ZipArchive(const uint8_t* data, size_t size, std::string_view password);
    uint32_t ReadCentralRecord(size_t offset, CentralRecord& record) const;
    uint32_t GoToEntry(uint32_t index, CentralRecord& record);
    uint32_t Extract(const CentralRecord& record, uint8_t* buffer, size_t size);

    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    std::string m_password;
    bool m_open = true;
    size_t m_base = 0; // bytes in front of the archive (self-extractor stubs)
    size_t m_centralStart = 0;
    size_t m_centralEnd = 0;
    uint32_t m_entryCount = 0;
    uint32_t m_currentIndex = 0;
    size_t m_currentOffset = 0;
    std::unique_ptr<uint8_t[]> m_readBuffer;
};

} // namespace ui
