#pragma once

#include <cstddef>
#include <cstring>
#include <vector>

// A later driver may fill longer records than the layouts the program
// reads; the fields the program reads keep their offsets. Each record handed
// to the driver therefore has this much zeroed room behind it.
inline constexpr size_t kDriverRecordHeadroom = 4096;

// Zeroed room for `count` records that the driver fills, each of which may
// be up to kDriverRecordHeadroom bytes longer than Record without the driver
// writing past the buffer. The program reads the records at its own layout.
template <typename Record>
class DriverRecordBuffer {
public:
    explicit DriverRecordBuffer(size_t count = 1)
        : m_bytes(count * (sizeof(Record) + kDriverRecordHeadroom))
    {
    }

    // What the driver is handed.
    Record* Data() { return reinterpret_cast<Record*>(m_bytes.data()); }
    // Record `index` as the program lays the records out.
    Record At(size_t index = 0) const
    {
        Record record;
        std::memcpy(&record, m_bytes.data() + index * sizeof(Record), sizeof(Record));
        return record;
    }

private:
    std::vector<unsigned char> m_bytes;
};
