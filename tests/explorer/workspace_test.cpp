// The explorer's workspace without a window: a change and its undoing, files named from the folder
// they are saved in, and the names and looks new candidates get.
#include "workspace.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using explorer::Candidate;
using explorer::EngineInput;
using explorer::Workspace;

// Splicing back what a splice took out leaves every candidate and figure as it was.
TEST(Workspace, ASpliceUndoneLeavesEverythingAsItWas) {
    Workspace work;
    const float maxRpm = work.point(1).figures->results.values[0];
    Candidate edited = work.candidate(1);
    edited[EngineInput::P2] = explorer::Cell::number(5);
    auto out = work.splice(1, 1, {edited});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(work.candidate(1)[EngineInput::P2].value, 5.0f);
    work.splice(1, 1, std::move(out));
    EXPECT_EQ(work.candidate(1).name, "Smaller wheel");
    EXPECT_EQ(work.point(1).figures->results.values[0], maxRpm);
    // Inserting and removing change the count, and the figures follow their candidates.
    work.splice(0, 0, {Candidate("New")});
    ASSERT_EQ(work.size(), 3u);
    EXPECT_EQ(work.point(2).figures->results.values[0], maxRpm);
    work.splice(0, 2, {});
    ASSERT_EQ(work.size(), 1u);
    EXPECT_EQ(work.candidate(0).name, "Smaller wheel");
}

TEST(Workspace, NewCandidatesGetAFreeNameAndLook) {
    Workspace work({Candidate("Candidate 1"), Candidate("Candidate 3")});
    EXPECT_EQ(work.freeName(), "Candidate 2");
    EXPECT_EQ(work.candidate(0).look, 0); // looks are given in order
    EXPECT_EQ(work.candidate(1).look, 1);
    EXPECT_EQ(work.freeLook(), 2);
}

// Saved into another folder, a map and a run log are named from there; the file opens again to
// the same names.
TEST(Workspace, FilesAreNamedFromTheFolderSavedIn) {
    const auto root = std::filesystem::temp_directory_path() / "vx-workspace-test";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "designs" / "copy");
    Candidate c("A");
    c.map = "maps/turbo.vxmap";
    c.runLogFile = "logs/bench.csv";
    Workspace work({c}, root / "designs");
    ASSERT_FALSE(work.save(root / "designs" / "copy" / "a.csv"));
    EXPECT_EQ(work.candidate(0).map, "../maps/turbo.vxmap");
    EXPECT_EQ(work.candidate(0).runLogFile, "../logs/bench.csv");
    EXPECT_EQ(work.folder(), root / "designs" / "copy");

    explorer::OpenNotes notes;
    Workspace again;
    ASSERT_FALSE(again.open(root / "designs" / "copy" / "a.csv", &notes));
    EXPECT_EQ(again.candidate(0).map, "../maps/turbo.vxmap");
    ASSERT_EQ(notes.unreadRunLogs.size(), 1u); // named, not there
    std::filesystem::remove_all(root);
}

TEST(Workspace, EfficiencyFromNoMapSaysWhy) {
    Candidate c("A");
    c.efficiencyFromMap = true;
    Workspace work({c});
    EXPECT_FALSE(work.point(0).figures);
    EXPECT_EQ(work.point(0).why,
              "no figures: the efficiency is to come from the map, but none is given");
    EXPECT_EQ(work.gaps(0).substr(0, work.point(0).why.size()), work.point(0).why);
}

} // namespace
