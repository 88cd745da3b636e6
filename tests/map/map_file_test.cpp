// The two map file forms, read as a person would write them, and the map file written back.
#include "map_file.hpp"

#include <gtest/gtest.h>

#include <sstream>

using namespace compmap;

namespace {

MapReadResult readText(const std::string& text) {
    std::istringstream in(text);
    return readMapText(in, "t.vxmap");
}

TEST(MapFile, HandWrittenFileWithCommentsAndDefaults) {
    const auto read = readText("\xEF\xBB\xBF# my turbo\r\n"
                               "flow-unit kg/s\n"
                               "picture  scans/sheet #2.png \n"
                               "pressure-axis 540 1 40 4.5\n"
                               "\n"
                               "island 72 # the best\n"
                               "  0.1 2\n  0.2 2\n  0.15 2.5\n"
                               "end\n"
                               "surge\n 0.05 1.2\n\t0.1 3\nend\n");
    ASSERT_FALSE(read.error) << read.error->text();
    const CompressorMap& map = *read.map;
    EXPECT_EQ(map.flowUnit, FlowUnit::KgPerS);
    EXPECT_EQ(map.referenceTemperature, 288.0f);
    EXPECT_EQ(map.referencePressure, 14.7f);
    EXPECT_EQ(map.picture, "scans/sheet #2.png");
    EXPECT_FALSE(map.flowAxis);
    EXPECT_EQ(map.pressureAxis, (AxisCalibration{540, 1, 40, 4.5f}));
    ASSERT_EQ(map.lines.size(), 2u);
    EXPECT_EQ(map.lines[0], (MapLine{LineKind::Island, 72, {{0.1f, 2}, {0.2f, 2}, {0.15f, 2.5f}}}));
    EXPECT_EQ(map.lines[1], (MapLine{LineKind::Surge, 0, {{0.05f, 1.2f}, {0.1f, 3}}}));
    EXPECT_EQ(map.pressureAxis->valueAt(290), 2.75); // half way up
}

TEST(MapFile, WrittenMapReadsBackBitForBit) {
    CompressorMap map;
    map.flowUnit = FlowUnit::KgPerS;
    map.referenceTemperature = 298.15f;
    map.referencePressure = 14.5038f;
    map.picture = "a b.png";
    map.flowAxis = AxisCalibration{0.5f, 0, 1023.25f, 0.3f};
    map.lines = {{LineKind::Speed, 123456, {{0.1f, 1.1f}, {1e-7f, 3.4028235e38f}}},
                 {LineKind::Island, 77.5f, {{-0.f, 1}, {1, 1}, {1, 2}}}};
    std::stringstream text;
    writeMapText(text, map);
    const auto read = readMapText(text, "again.vxmap");
    ASSERT_FALSE(read.error) << read.error->text() << "\n" << text.str();
    EXPECT_EQ(*read.map, map);
    EXPECT_NE(text.str().find("speed 123456"), std::string::npos) << text.str();
}

TEST(MapFile, DigitizerExport) {
    std::istringstream in("Surge line,,100000 rpm,,68%,\n"
                          "X,Y,X,Y,X,Y\n"
                          "10,1.5,12,1.4,20,2\n"
                          "12,2.5,30,1.6,30,2\n"
                          ",,,,25,2.4\n");
    const auto read = readDigitizerCsv(in, "d.csv", {FlowUnit::KgPerS, 298, 14.5f});
    ASSERT_FALSE(read.error) << read.error->text();
    const CompressorMap& map = *read.map;
    EXPECT_EQ(map.flowUnit, FlowUnit::KgPerS);
    EXPECT_EQ(map.referenceTemperature, 298.0f);
    EXPECT_EQ(map.referencePressure, 14.5f);
    ASSERT_EQ(map.lines.size(), 3u);
    EXPECT_EQ(map.lines[0], (MapLine{LineKind::Surge, 0, {{10, 1.5f}, {12, 2.5f}}}));
    EXPECT_EQ(map.lines[1], (MapLine{LineKind::Speed, 100000, {{12, 1.4f}, {30, 1.6f}}}));
    EXPECT_EQ(map.lines[2], (MapLine{LineKind::Island, 68, {{20, 2}, {30, 2}, {25, 2.4f}}}));
}

} // namespace
