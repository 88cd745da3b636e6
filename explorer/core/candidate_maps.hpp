#pragma once
// Candidates on their compressor maps: a candidate names its map file in the "map" column of the
// candidates file, relative to that file's folder, so that the folder can be moved whole.

#include "candidates.hpp"
#include "curves.hpp"
#include "map_file.hpp"
#include "matching.hpp"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace explorer {

// Maps read once each, by the path their candidates name.
class MapLibrary {
public:
    struct Entry {
        std::filesystem::path file;
        std::optional<compmap::CompressorMap> map;
        std::string problem; // why it could not be read ("" when it could)
    };
    // `name` as the candidate holds it, relative to `folder` unless absolute; nullptr for "".
    const Entry* get(const std::filesystem::path& folder, std::string_view name);
    // Everything is read afresh at the next get().
    void clear() { entries_.clear(); }
    // The map of a file as it stands in its view, before (or instead of) being saved.
    void put(const std::filesystem::path& file, compmap::CompressorMap map) {
        entries_[file] = Entry{file, std::move(map), {}};
    }

private:
    std::map<std::filesystem::path, Entry> entries_;
};

// Where the candidate's engine works: its cycle's mass flow and pressure ratio, and its ambient;
// nullopt when a cell is bad. The same numbers vorlaxen-calc engine puts to the map.
std::optional<compmap::OperatingPoint> operatingPoint(const Candidate& candidate);

// The map's figures at the candidate's own P2.
std::optional<compmap::MatchFigures> matchAtP2(const Candidate& candidate,
                                               const compmap::CompressorMap& map);

// The candidate's sweep on the map, point by point as the curves compute it.
std::vector<compmap::MapPoint> sweepOnMap(const Candidate& candidate,
                                          const compmap::CompressorMap& map,
                                          const CurveRequest& request);

} // namespace explorer
