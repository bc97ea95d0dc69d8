// Parse time of the skin markup parser against pugixml (in-place mode) on
// the same large generated skin document, and the ZIP reader's throughput
// against plain zlib inflate of the same deflated data.
#include "bench/BenchFigure.h"
#include "ui/markup/MarkupDocument.h"
#include "ui/markup/TextEncoding.h"
#include "ui/markup/ZipArchive.h"

#include <pugixml.hpp>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kRounds = 15;

// Fastest of several rounds, in milliseconds; prepare runs untimed before
// each round.
double Time(
    const std::function<void()>& work, const std::function<void()>& prepare = [] {})
{
    double best = 1e30;
    for (int i = 0; i < kRounds; ++i) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> elapsed =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

void AppendBox(std::string& out, int depth, int& counter)
{
    const int id = counter++;
    out += std::string(depth * 2, ' ');
    out += "<VBox name=\"box_" + std::to_string(id) +
           "\" width=\"stretch\" height=\"auto\" margin=\"1,2,3,4\""
           " padding=\"4,3,2,1\" bkcolor=\"setting_back\" childmargin=\"" +
           std::to_string(id % 17) + "\">\n";
    for (int i = 0; i < 6; ++i) {
        out += std::string(depth * 2 + 2, ' ');
        out += "<Label name=\"label_" + std::to_string(id) + "_" + std::to_string(i) +
               "\" text=\"Gain &amp; level &lt;" + std::to_string(i) +
               "&gt;\" font=\"system_12\""
               " normaltextcolor=\"white\" align=\"left\" valign=\"center\" width=\"120\" "
               "height=\"24\""
               " bkimage=\"file='../public/bk/bk_" +
               std::to_string(i) +
               ".png' corner='5,5,5,5'\""
               " tooltiptext=\"&quot;quoted&quot; tip\"/>\n";
    }
    out += std::string(depth * 2 + 2, ' ') + "<!-- strip " + std::to_string(id) + " -->\n";
    if (depth < 7) {
        for (int i = 0; i < 3; ++i) {
            AppendBox(out, depth + 1, counter);
        }
    }
    out += std::string(depth * 2, ' ') + "</VBox>\n";
}

std::string MakeSkinDocument()
{
    std::string out =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Window size=\"800,600\" "
        "caption=\"0,0,0,36\">\n";
    int counter = 0;
    AppendBox(out, 1, counter);
    out += "</Window>\n";
    return out;
}

size_t VisitOurs(const ui::MarkupNode& first)
{
    size_t total = 0;
    for (ui::MarkupNode node = first; node.IsValid(); node = node.GetSibling()) {
        for (uint32_t i = 0; i < node.GetAttributeCount(); ++i) {
            total += node.GetAttributeValue(i)[0];
        }
        total += VisitOurs(node.GetChild());
    }
    return total;
}

size_t VisitPugi(const pugi::xml_node& parent)
{
    size_t total = 0;
    for (pugi::xml_node node = parent.first_child(); node; node = node.next_sibling()) {
        for (pugi::xml_attribute attribute = node.first_attribute(); attribute;
             attribute = attribute.next_attribute()) {
            total += attribute.value()[0];
        }
        total += VisitPugi(node);
    }
    return total;
}

void BenchParse()
{
    const std::string utf8 = MakeSkinDocument();
    const std::wstring wide = ui::TextEncoding::Utf8ToWide(utf8);
    std::printf("document: %zu bytes UTF-8\n", utf8.size());

    // Both parsers get a fresh writable copy of the text before each timed
    // parse: pugixml parses in place, ours takes the buffer over.
    ui::MarkupDocument ours;
    pugi::xml_document pugi;
    std::vector<char> pugiBuffer(utf8.size());
    std::wstring oursBuffer;
    size_t sink = 0;
    auto preparePugi = [&] { std::memcpy(pugiBuffer.data(), utf8.data(), utf8.size()); };
    auto prepareOurs = [&] { oursBuffer = wide; };
    auto pugiParse = [&] {
        if (!pugi.load_buffer_inplace(pugiBuffer.data(), pugiBuffer.size(), pugi::parse_default,
                                      pugi::encoding_utf8)) {
            std::abort();
        }
    };
    auto oursParse = [&] {
        if (!ours.LoadFromString(std::move(oursBuffer))) {
            std::abort();
        }
    };
    const double oursTime = Time(oursParse, prepareOurs);
    const double pugiTime = Time(pugiParse, preparePugi);
    const double oursCopied = Time([&] {
        if (!ours.LoadFromString(wide)) {
            std::abort();
        }
    });
    const double oursUtf8 = Time([&] {
        if (!ours.LoadFromFileData(reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size())) {
            std::abort();
        }
    });
    const double oursWalk = Time(
        [&] {
            oursParse();
            sink += VisitOurs(ours.GetRoot());
        },
        prepareOurs);
    const double pugiWalk = Time(
        [&] {
            pugiParse();
            sink += VisitPugi(pugi);
        },
        preparePugi);
    std::printf("in-place parse: ours %.2f ms, pugixml %.2f ms, ratio %.2f\n", oursTime, pugiTime,
                oursTime / pugiTime);
    PrintFigure("in-place parse (vs pugixml)", oursTime, pugiTime, "ms");
    PrintFigure("parse and read every attribute (vs pugixml)", oursWalk, pugiWalk, "ms");
    PrintFigure("parse from a copied wide string (vs pugixml in place)", oursCopied, pugiTime,
                "ms");
    PrintFigure("parse from UTF-8 bytes (vs pugixml in place)", oursUtf8, pugiTime, "ms");
    std::printf(
        "in-place parse and read every attribute: ours %.2f ms, pugixml %.2f ms, ratio %.2f\n",
        oursWalk, pugiWalk, oursWalk / pugiWalk);
    std::printf(
        "ours from a copied wide string %.2f ms (ratio %.2f), from UTF-8 bytes %.2f ms (ratio "
        "%.2f)\n",
        oursCopied, oursCopied / pugiTime, oursUtf8, oursUtf8 / pugiTime);
    std::printf("(wchar_t is %zu bytes here; sink %zu)\n", sizeof(wchar_t), sink);
}

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::vector<uint8_t> RawDeflate(const std::string& data)
{
    z_stream z = {};
    deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::vector<uint8_t> out(deflateBound(&z, data.size()));
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// A one-entry archive holding the deflated data under the given name.
std::vector<uint8_t> MakeArchive(const std::string& name, const std::string& data,
                                 const std::vector<uint8_t>& packed)
{
    const uint32_t crc =
        static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(data.data()), data.size()));
    std::vector<uint8_t> zip;
    Put32(zip, 0x04034b50);
    Put16(zip, 20), Put16(zip, 0), Put16(zip, 8), Put32(zip, 0);
    Put32(zip, crc), Put32(zip, static_cast<uint32_t>(packed.size())),
        Put32(zip, static_cast<uint32_t>(data.size()));
    Put16(zip, static_cast<uint32_t>(name.size())), Put16(zip, 0);
    zip.insert(zip.end(), name.begin(), name.end());
    zip.insert(zip.end(), packed.begin(), packed.end());
    const uint32_t central = static_cast<uint32_t>(zip.size());
    Put32(zip, 0x02014b50);
    Put16(zip, 20), Put16(zip, 20), Put16(zip, 0), Put16(zip, 8), Put32(zip, 0);
    Put32(zip, crc), Put32(zip, static_cast<uint32_t>(packed.size())),
        Put32(zip, static_cast<uint32_t>(data.size()));
    Put16(zip, static_cast<uint32_t>(name.size())), Put16(zip, 0), Put16(zip, 0), Put16(zip, 0),
        Put16(zip, 0);
    Put32(zip, 0), Put32(zip, 0);
    zip.insert(zip.end(), name.begin(), name.end());
    const uint32_t centralSize = static_cast<uint32_t>(zip.size()) - central;
    Put32(zip, 0x06054b50);
    Put16(zip, 0), Put16(zip, 0), Put16(zip, 1), Put16(zip, 1);
    Put32(zip, centralSize), Put32(zip, central), Put16(zip, 0);
    return zip;
}

void BenchZip()
{
    // Skin-like content: markup that deflates well and image-like bytes
    // that hardly do.
    std::string data = MakeSkinDocument();
    uint32_t state = 12345;
    while (data.size() < 8 * 1024 * 1024) {
        state = state * 1103515245u + 12345u;
        const char byte = static_cast<char>(state >> 24);
        data.append(1 + (state >> 8) % 4, byte);
    }
    const std::vector<uint8_t> packed = RawDeflate(data);
    const std::vector<uint8_t> zip = MakeArchive("resources/themes/default/big.xml", data, packed);
    std::vector<uint8_t> output(data.size());

    const double plain = Time([&] {
        z_stream z = {};
        inflateInit2(&z, -MAX_WBITS);
        z.next_in = const_cast<Bytef*>(packed.data());
        z.avail_in = static_cast<uInt>(packed.size());
        z.next_out = output.data();
        z.avail_out = static_cast<uInt>(output.size());
        if (inflate(&z, Z_FINISH) != Z_STREAM_END) {
            std::abort();
        }
        inflateEnd(&z);
    });
    const double plainWithCrc = Time([&] {
        z_stream z = {};
        inflateInit2(&z, -MAX_WBITS);
        z.next_in = const_cast<Bytef*>(packed.data());
        z.avail_in = static_cast<uInt>(packed.size());
        z.next_out = output.data();
        z.avail_out = static_cast<uInt>(output.size());
        if (inflate(&z, Z_FINISH) != Z_STREAM_END) {
            std::abort();
        }
        inflateEnd(&z);
        if (crc32_z(0, output.data(), output.size()) == 0) {
            std::abort();
        }
    });
    const double ours = Time([&] {
        uint32_t result = 0;
        auto archive = ui::ZipArchive::Open(zip.data(), zip.size(), "", result);
        uint32_t index = 0;
        if (!archive || archive->FindEntry("RESOURCES/themes/default/big.xml", index) != 0 ||
            archive->UnzipToMemory(index, output.data(), output.size()) != 0) {
            std::abort();
        }
    });
    if (std::memcmp(output.data(), data.data(), data.size()) != 0) {
        std::abort();
    }
    const double megabytes = static_cast<double>(data.size()) / (1024.0 * 1024.0);
    std::printf("zip: %.1f MiB deflated to %.1f MiB\n", megabytes,
                packed.size() / (1024.0 * 1024.0));
    std::printf(
        "inflate: plain zlib %.0f MiB/s, zlib with CRC-32 %.0f MiB/s, ZIP reader (lookup and CRC "
        "check "
        "included) %.0f MiB/s\n",
        megabytes / (plain / 1000.0), megabytes / (plainWithCrc / 1000.0),
        megabytes / (ours / 1000.0));
    std::printf("ZIP reader throughput ratio: %.2f of plain inflate, %.2f of inflate with CRC-32\n",
                plain / ours, plainWithCrc / ours);
    PrintFigure("ZIP reader inflate (vs plain zlib)", ours, plain, "ms");
    PrintFigure("ZIP reader inflate (vs zlib with CRC-32)", ours, plainWithCrc, "ms");
}

} // namespace

int main()
{
    BenchParse();
    BenchZip();
    return 0;
}
