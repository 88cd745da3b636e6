// A candidate's map column: read, written only when some candidate has a map, found relative to
// the candidates file, and a map that cannot be read named with its reason.
#include "candidate_file.hpp"
#include "candidate_maps.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

TEST(CandidateMaps, MapColumnReadAndWrittenBack) {
    std::istringstream in("name,p2,map\nA,20, maps/t.vxmap \nB,30,\n");
    const auto read = explorer::readCandidates(in, "c.csv");
    ASSERT_FALSE(read.error) << read.error->text();
    EXPECT_EQ(read.candidates[0].map, "maps/t.vxmap");
    EXPECT_EQ(read.candidates[1].map, "");

    auto candidates = read.candidates;
    candidates[1].map = "a, \"b\".vxmap"; // quoted in the file
    std::stringstream out;
    ASSERT_FALSE(explorer::writeCandidates(out, candidates));
    const auto again = explorer::readCandidates(out, "again.csv");
    ASSERT_FALSE(again.error) << again.error->text();
    EXPECT_EQ(again.candidates[1].map, "a, \"b\".vxmap");

    // Without maps the file has no map column, as before there were maps.
    std::stringstream plain;
    ASSERT_FALSE(explorer::writeCandidates(plain, explorer::startingCandidates()));
    EXPECT_EQ(plain.str().find("map"), std::string::npos);

    // Efficiency from the map: its column in any case, written only when asked by someone.
    std::istringstream asked("name,efficiency-from-map\nA, YES \nB,\nC,no\n");
    const auto flags = explorer::readCandidates(asked, "e.csv");
    ASSERT_FALSE(flags.error) << flags.error->text();
    EXPECT_TRUE(flags.candidates[0].efficiencyFromMap);
    EXPECT_FALSE(flags.candidates[1].efficiencyFromMap);
    EXPECT_FALSE(flags.candidates[2].efficiencyFromMap);
    std::stringstream flagsOut;
    ASSERT_FALSE(explorer::writeCandidates(flagsOut, flags.candidates));
    const auto flagsAgain = explorer::readCandidates(flagsOut, "again.csv");
    ASSERT_FALSE(flagsAgain.error) << flagsAgain.error->text();
    EXPECT_TRUE(flagsAgain.candidates[0].efficiencyFromMap);
    EXPECT_FALSE(flagsAgain.candidates[2].efficiencyFromMap);
    std::istringstream bad("name,efficiency-from-map\nA,maybe\n");
    const auto refused = explorer::readCandidates(bad, "bad.csv");
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->text(),
              "bad.csv, line 2, column 2: efficiency-from-map \"maybe\" is neither \"yes\" nor "
              "\"no\"");
}

TEST(CandidateMaps, FoundFromTheCandidatesFolderOnce) {
    const auto folder = std::filesystem::temp_directory_path() / "vx-candidate-maps-test";
    std::filesystem::create_directories(folder / "maps");
    std::ofstream(folder / "maps" / "t.vxmap") << "surge\n10 1\n20 3\nend\n";
    explorer::MapLibrary library;
    EXPECT_EQ(library.get(folder, ""), nullptr);
    const auto* entry = library.get(folder, "maps/t.vxmap");
    ASSERT_TRUE(entry && entry->map);
    std::filesystem::remove(folder / "maps" / "t.vxmap");
    EXPECT_EQ(library.get(folder, "maps/t.vxmap"), entry); // read once, kept
    library.clear();
    entry = library.get(folder, "maps/t.vxmap");
    ASSERT_TRUE(entry);
    EXPECT_FALSE(entry->map);
    EXPECT_NE(entry->problem.find("cannot open"), std::string::npos) << entry->problem;
    std::filesystem::remove_all(folder);
}

} // namespace
