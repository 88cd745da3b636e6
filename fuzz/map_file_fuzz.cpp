// The map readers: any bytes, read as a map file and as a digitizer's export, give either a whole
// map or an error naming a line of the input, never both; a map that was read writes out and
// reads back the same, bit for bit.
#include "map_file.hpp"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

void check(const compmap::MapReadResult& read, const std::string& text) {
    std::size_t lines = 1;
    for (const char c : text)
        lines += c == '\n';
    if (read.map.has_value() == read.error.has_value())
        std::abort();
    if (read.error && (read.error->line > lines || read.error->message.empty()))
        std::abort();
    if (!read.map)
        return;
    std::stringstream out;
    compmap::writeMapText(out, *read.map);
    const auto again = compmap::readMapText(out, "again.vxmap");
    if (!again.map || !(*again.map == *read.map))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream asText(text);
    check(compmap::readMapText(asText, "fuzz.vxmap"), text);
    std::istringstream asCsv(text);
    check(compmap::readDigitizerCsv(asCsv, "fuzz.csv", {}), text);
    return 0;
}
