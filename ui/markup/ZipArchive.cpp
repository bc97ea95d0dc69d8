#include "ui/markup/ZipArchive.h"

#include "ui/markup/PkwareCipher.h"
#include "ui/markup/TextEncoding.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>

namespace ui {
namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr size_t kEndRecordSize = 22;
constexpr size_t kCentralRecordSize = 46;
constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kMaxCommentSearch = 65535;
constexpr size_t kMaxLookupName = 256;
constexpr size_t kMaxInfoName = 259;
constexpr size_t kReadBufferSize = 16384;
constexpr size_t kEncryptionHeaderSize = 12;
constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagDataDescriptor = 0x0008;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;

uint16_t Read16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Read32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

char FoldAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Removes drive prefixes, leading separators and everything up to a "..\"
// style climb, so that an entry name can never point outside a folder.
std::wstring SanitizeEntryName(std::wstring name)
{
    static constexpr const wchar_t* kClimbs[] = {L"\\..\\", L"\\../", L"/../", L"/..\\"};
    for (bool changed = true; changed;) {
        changed = false;
        if (name.size() >= 2 && name[1] == L':') {
            name.erase(0, 2);
            changed = true;
        }
        if (!name.empty() && (name[0] == L'\\' || name[0] == L'/')) {
            name.erase(0, 1);
            changed = true;
        }
        size_t first = std::wstring::npos;
        for (const wchar_t* climb : kClimbs) {
            first = std::min(first, name.find(climb));
        }
        if (first != std::wstring::npos) {
            name.erase(0, first + 4);
            changed = true;
        }
    }
    return name;
}

class InflateStream {
public:
    bool Init() { return m_ready = (inflateInit2(&stream, -MAX_WBITS) == Z_OK); }
    ~InflateStream()
    {
        if (m_ready) {
            inflateEnd(&stream);
        }
    }
    z_stream stream = {};

private:
    bool m_ready = false;
};

} // namespace

struct ZipArchive::CentralRecord {
    uint16_t flags = 0;
    uint16_t method = 0;
    uint32_t dosDateTime = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint32_t externalAttributes = 0;
    uint32_t localOffset = 0;
    size_t nameOffset = 0;
    uint16_t nameLength = 0;
    size_t recordSize = 0;
};

ZipArchive::ZipArchive(const uint8_t* data, size_t size, std::string_view password)
    : m_data(data), m_size(size), m_password(password)
{
}

std::unique_ptr<ZipArchive> ZipArchive::Open(const uint8_t* data, size_t size,
                                             std::string_view password, uint32_t& result)
{
    if (data == nullptr) {
        result = kNoArchive;
        return nullptr;
    }
    result = kCannotOpen;
    if (size < kEndRecordSize) {
        return nullptr;
    }
    // The end record sits behind the central directory, possibly followed
    // by an archive comment of up to 64 KiB.
    const size_t lowest =
        size - kEndRecordSize > kMaxCommentSearch ? size - kEndRecordSize - kMaxCommentSearch : 0;
    size_t end = size - kEndRecordSize;
    while (Read32(data + end) != kEndSignature) {
        if (end == lowest) {
            return nullptr;
        }
        --end;
    }
    const uint8_t* record = data + end;
    const uint16_t disk = Read16(record + 4);
    const uint16_t centralDisk = Read16(record + 6);
    const uint16_t entriesOnDisk = Read16(record + 8);
    const uint16_t entries = Read16(record + 10);
    const uint64_t centralSize = Read32(record + 12);
    const uint64_t centralOffset = Read32(record + 16);
    if (disk != 0 || centralDisk != 0 || entriesOnDisk != entries ||
        centralOffset + centralSize > end) {
        return nullptr;
    }

    std::unique_ptr<ZipArchive> archive(new ZipArchive(data, size, password));
    archive->m_base = static_cast<size_t>(end - (centralOffset + centralSize));
    archive->m_centralStart = archive->m_base + static_cast<size_t>(centralOffset);
    archive->m_centralEnd = end;
    archive->m_entryCount = entries;
    archive->m_currentOffset = archive->m_centralStart;
    result = kOk;
    return archive;
}

uint32_t ZipArchive::ReadCentralRecord(size_t offset, CentralRecord& record) const
{
    if (offset > m_centralEnd || m_centralEnd - offset < kCentralRecordSize) {
        return kCorrupt;
    }
    const uint8_t* p = m_data + offset;
    if (Read32(p) != kCentralSignature) {
        return kCorrupt;
    }
    record.flags = Read16(p + 8);
    record.method = Read16(p + 10);
    record.dosDateTime = (static_cast<uint32_t>(Read16(p + 14)) << 16) | Read16(p + 12);
    record.crc = Read32(p + 16);
    record.compressedSize = Read32(p + 20);
    record.uncompressedSize = Read32(p + 24);
    record.nameLength = Read16(p + 28);
    const size_t extraLength = Read16(p + 30);
    const size_t commentLength = Read16(p + 32);
    record.externalAttributes = Read32(p + 38);
    record.localOffset = Read32(p + 42);
    record.nameOffset = offset + kCentralRecordSize;
    record.recordSize = kCentralRecordSize + record.nameLength + extraLength + commentLength;
    if (m_centralEnd - offset < record.recordSize) {
        return kCorrupt;
    }
    return kOk;
}

uint32_t ZipArchive::GoToEntry(uint32_t index, CentralRecord& record)
{
    if (!m_open) {
        return kNotOpenForReading;
    }
    if (index >= m_entryCount) {
        return kNotFound;
    }
    if (index < m_currentIndex) {
        m_currentIndex = 0;
        m_currentOffset = m_centralStart;
    }
    while (m_currentIndex < index) {
        if (const uint32_t status = ReadCentralRecord(m_currentOffset, record); status != kOk) {
            return status;
        }
        m_currentOffset += record.recordSize;
        ++m_currentIndex;
    }
    return ReadCentralRecord(m_currentOffset, record);
}

uint32_t ZipArchive::FindEntry(std::string_view utf8Name, uint32_t& index)
{
    if (!m_open) {
        return kNotOpenForReading;
    }
    if (utf8Name.size() >= kMaxLookupName) {
        return kNotFound;
    }
    size_t offset = m_centralStart;
    for (uint32_t i = 0; i < m_entryCount; ++i) {
        CentralRecord record;
        if (const uint32_t status = ReadCentralRecord(offset, record); status != kOk) {
            return status;
        }
        const auto* name = reinterpret_cast<const char*>(m_data + record.nameOffset);
        if (record.nameLength == utf8Name.size() &&
            std::equal(utf8Name.begin(), utf8Name.end(), name,
                       [](char a, char b) { return FoldAscii(a) == FoldAscii(b); })) {
            m_currentIndex = i;
            m_currentOffset = offset;
            index = i;
            return kOk;
        }
        offset += record.recordSize;
    }
    return kNotFound;
}

uint32_t ZipArchive::GetEntryInfo(uint32_t index, ZipEntryInfo& info)
{
    CentralRecord record;
    if (const uint32_t status = GoToEntry(index, record); status != kOk) {
        return status;
    }
    info.index = index;
    info.name = SanitizeEntryName(TextEncoding::Utf8ToWide(
        {reinterpret_cast<const char*>(m_data + record.nameOffset), record.nameLength}));
    if (info.name.size() > kMaxInfoName) {
        info.name.resize(kMaxInfoName);
    }
    info.attributes = record.externalAttributes;
    info.dosDateTime = record.dosDateTime;
    info.compressedSize = record.compressedSize;
    info.uncompressedSize = record.uncompressedSize;
    return kOk;
}

uint32_t ZipArchive::UnzipToMemory(uint32_t index, uint8_t* buffer, size_t size)
{
    CentralRecord record;
    if (const uint32_t status = GoToEntry(index, record); status != kOk) {
        return status;
    }
    if (buffer == nullptr && size != 0) {
        return kNoArchive;
    }
    return Extract(record, buffer, size);
}

uint32_t ZipArchive::Extract(const CentralRecord& record, uint8_t* buffer, size_t size)
{
    const uint64_t local = static_cast<uint64_t>(m_base) + record.localOffset;
    if (local + kLocalHeaderSize > m_size) {
        return kCorrupt;
    }
    const uint8_t* header = m_data + local;
    if (Read32(header) != kLocalSignature || Read16(header + 8) != record.method ||
        Read16(header + 26) != record.nameLength) {
        return kCorrupt;
    }
    const uint64_t dataStart = local + kLocalHeaderSize + Read16(header + 26) + Read16(header + 28);
    if (dataStart + record.compressedSize > m_size) {
        return kCorrupt;
    }
    if (record.method != kMethodStored && record.method != kMethodDeflated) {
        return kCorrupt;
    }
    if (record.uncompressedSize > size) {
        return kBufferTooSmall;
    }

    const uint8_t* in = m_data + dataStart;
    size_t inSize = record.compressedSize;
    std::optional<PkwareCipher> cipher;
    if (record.flags & kFlagEncrypted) {
        if (inSize < kEncryptionHeaderSize) {
            return kCorrupt;
        }
        cipher.emplace(m_password);
        uint8_t check[kEncryptionHeaderSize];
        std::memcpy(check, in, sizeof check);
        cipher->Decrypt(check, sizeof check);
        // The header's last byte repeats the CRC's high byte, or the time's
        // when the CRC followed the data.
        const uint8_t expected = (record.flags & kFlagDataDescriptor)
                                     ? static_cast<uint8_t>(record.dosDateTime >> 8)
                                     : static_cast<uint8_t>(record.crc >> 24);
        if (check[kEncryptionHeaderSize - 1] != expected) {
            return kWrongPassword;
        }
        in += kEncryptionHeaderSize;
        inSize -= kEncryptionHeaderSize;
        if (!m_readBuffer) {
            m_readBuffer = std::make_unique<uint8_t[]>(kReadBufferSize);
        }
    }
    // Hands out the next piece of entry data, decrypted when needed.
    auto nextChunk = [&](const uint8_t*& chunk) -> size_t {
        size_t length = std::min<size_t>(inSize, cipher ? kReadBufferSize : UINT_MAX);
        chunk = in;
        if (cipher) {
            std::memcpy(m_readBuffer.get(), in, length);
            cipher->Decrypt(m_readBuffer.get(), length);
            chunk = m_readBuffer.get();
        }
        in += length;
        inSize -= length;
        return length;
    };

    size_t produced = 0;
    if (record.method == kMethodStored) {
        if (inSize != record.uncompressedSize) {
            return kCorrupt;
        }
        while (inSize > 0) {
            const uint8_t* chunk = nullptr;
            const size_t length = nextChunk(chunk);
            std::memcpy(buffer + produced, chunk, length);
            produced += length;
        }
    } else {
        InflateStream inflater;
        if (!inflater.Init()) {
            return kInflateFailed;
        }
        z_stream& z = inflater.stream;
        z.next_out = buffer;
        z.avail_out = static_cast<uInt>(std::min<size_t>(size, UINT_MAX));
        // Once the buffer is full, one more byte of room tells whether the
        // stream would still produce output.
        uint8_t probe = 0;
        bool probing = false;
        for (;;) {
            if (z.avail_in == 0 && inSize > 0) {
                const uint8_t* chunk = nullptr;
                z.avail_in = static_cast<uInt>(nextChunk(chunk));
                z.next_in = const_cast<Bytef*>(chunk);
            }
            if (z.avail_out == 0) {
                if (probing) {
                    return kBufferTooSmall;
                }
                probing = true;
                z.next_out = &probe;
                z.avail_out = 1;
            }
            const int rc = inflate(&z, Z_NO_FLUSH);
            if (rc == Z_STREAM_END) {
                if (probing && z.avail_out == 0) {
                    return kBufferTooSmall;
                }
                break;
            }
            if (rc != Z_OK && rc != Z_BUF_ERROR) {
                return kInflateFailed;
            }
            if (rc == Z_BUF_ERROR && z.avail_in == 0 && inSize == 0 && z.avail_out != 0) {
                return kInflateFailed; // the deflate stream stops short
            }
        }
        produced = static_cast<size_t>(z.total_out);
    }
    if (produced != record.uncompressedSize ||
        crc32_z(crc32_z(0, nullptr, 0), buffer, produced) != record.crc) {
        return kCorrupt;
    }
    return kOk;
}

} // namespace ui
