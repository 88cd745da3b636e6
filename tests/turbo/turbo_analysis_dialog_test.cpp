// The Turbo Analysis window driven as a person would: typing into boxes, clicking the buttons,
// pressing Enter, and reading what the boxes show.
#include "engine_cycle.hpp"
#include "turbo_analysis_dialog.hpp"
#include "wheel_and_converter.hpp"
#include "window_driver.hpp"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <map>
#include <vector>

using namespace window_test;

namespace {

constexpr int kCalcMaxRpm = 1001;
constexpr int kCalcMassFlow = 1005;
constexpr int kCalcFullAnalysis = 1009;
constexpr int kReset = 1031;
constexpr int kConvert = 1035;

struct Box {
    int id;
    const char* shown; // what a new window shows
    bool input;
};

// Every number box, in binding order.
const std::vector<Box> kBoxes = {
    {1014, "15", true},   {1011, "0", false},  {1032, "0", true},  {1013, "0", false},
    {1010, "70", true},   {1004, "1.2", true}, {1033, "0", true},  {1003, "3", true},
    {1019, "0", false},   {1024, "0", false},  {1006, "0", false}, {1002, "0", false},
    {1028, "1.41", true}, {1021, "90", true},  {1025, "0", false}, {1026, "0", false},
    {1022, "0", false},   {1000, "4.3", true}, {1007, "32", true}, {1030, "14.7", true},
    {1018, "78", true},   {1027, "0", false},  {1020, "0", false}, {1017, "0", false},
    {1015, "0", false},   {1023, "0", false},
};

std::uint32_t bits(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

// The 26 fields as bit patterns, so that a comparison is exact and NaN equals itself.
using FieldBits = std::array<std::uint32_t, 26>;
FieldBits fieldBits(const turbo::TurboFields& fields) {
    return std::bit_cast<FieldBits>(fields);
}

QLineEdit* box(const CDialog& dialog, int id) {
    return qobject_cast<QLineEdit*>(dialog.GetDlgItem(id));
}

std::map<int, std::string> everyBox(const CDialog& dialog) {
    std::map<int, std::string> texts;
    for (const auto& b : kBoxes)
        texts[b.id] = textOf(box(dialog, b.id)).toStdString();
    return texts;
}

// The boxes each calculating command writes a result into.
const std::map<int, std::vector<int>> kResultsOf = {
    {kCalcMaxRpm, {1002}},
    {kCalcMassFlow, {1006, 1028}},
    {kCalcFullAnalysis, {1011, 1013, 1015, 1017, 1020, 1019, 1022, 1023, 1024, 1025, 1026, 1027}},
};

void expectDefaultsShown(const CDialog& dialog) {
    for (const auto& b : kBoxes)
        EXPECT_EQ(textOf(box(dialog, b.id)), b.shown) << "box " << b.id;
}

void expectDefaultFields(const turbo::TurboFields& fields) {
    const turbo::TurboFields defaults;
    EXPECT_EQ(fieldBits(fields), fieldBits(defaults));
}

TEST(TurboAnalysisWindow, OpensWithTheDefaultsAndOnlyInputsEditable) {
    TurboAnalysisDialog dialog;
    runModal(dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), "Vorlaxen - Turbo Analysis");
        expectDefaultsShown(dialog);
        for (const auto& b : kBoxes)
            EXPECT_EQ(isReadOnly(box(dialog, b.id)), !b.input) << "box " << b.id;
        EXPECT_EQ(dialog.m_CalcMaxRpmButton.button(), dialog.GetDlgItem(kCalcMaxRpm));
        EXPECT_EQ(dialog.m_CalcMassFlowButton.button(), dialog.GetDlgItem(kCalcMassFlow));
        EXPECT_EQ(dialog.m_ConvertButton.button(), dialog.GetDlgItem(kConvert));
        EXPECT_EQ(dialog.m_CalcFullAnalysisButton.button(), dialog.GetDlgItem(kCalcFullAnalysis));
    });
}

TEST(TurboAnalysisWindow, ShowsEveryLabelUnitFrameAndNote) {
    TurboAnalysisDialog dialog;
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    for (const QGroupBox* frame : dialog.findChildren<QGroupBox*>())
        texts << frame->title();
    const char* expected[] = {
        "Ambient Temp.:",
        "Compressor Temperature Rise:",
        "cm   =",
        "Compressor Discharge Temperature:",
        "Comp. Efficiency:",
        "Hub Diameter:",
        "inches",
        "Inducer Diameter:",
        "Nozzle PR:",
        "Jet Nozzle Outlet Density:",
        "cu ft/lb.",
        "Mass Flow Rate:",
        "Max RPM:",
        "Nozzle Efficiency:",
        "Jet Nozzle Area:",
        "sq. in.",
        "Jet Nozzle Diameter:",
        "in.",
        "Nozzle Exit Temp:",
        "deg. C",
        "Compressor Outlet Diameter(inches):",
        "P2 (psig):",
        "Ambient Pressure:",
        "Turbine Efficiency:",
        "%",
        "Thrust:",
        "lbs.",
        "Turbine Outlet Temp.:",
        "Turbine PR Required:",
        "Turbine Temp. Drop:",
        "Nozzle Velocity:",
        "ft./sec.",
        "Converter:",
        "Max Turbo RPM",
        "Mass Flow Rate",
        "Full Analysis - Compressor and Turbine",
        "Full Analysis - Nozzle",
        "PR = Pressure Ratio",
        "P2 = Compressor Discharge Pressure (Boost)",
        "The above figures relate to a possible outcome at max rpm and at max TIT during steady "
        "state running. There may be major deviations in the program's theoretically reduced "
        "thrust levels at lower to intermediate P2 settings."};
    for (const char* text : expected)
        EXPECT_TRUE(texts.contains(text)) << text;
    EXPECT_EQ(texts.count("Mass Flow Rate:"), 2);
    EXPECT_EQ(texts.count("deg. C"), 5);
    EXPECT_EQ(texts.count("%"), 3);

    const std::pair<int, const char*> buttons[] = {
        {kCalcMaxRpm, "Calculate"}, {kCalcMassFlow, "Calculate"}, {kCalcFullAnalysis, "Calculate"},
        {kReset, "RESET"},          {kConvert, "Convert"},        {IDOK, "Exit"}};
    for (const auto& [id, caption] : buttons)
        EXPECT_EQ(textOf(dialog.GetDlgItem(id)), caption) << id;

    // The compressor wheel picture is drawn, not an empty frame.
    bool drawn = false;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        const QImage image = label->pixmap().toImage();
        for (int y = 0; y < image.height() && !drawn; ++y)
            for (int x = 0; x < image.width() && !drawn; ++x)
                drawn = qAlpha(image.pixel(x, y)) != 0;
    }
    EXPECT_TRUE(drawn);
}

TEST(TurboAnalysisWindow, EachCalculateShowsItsFigures) {
    const struct {
        const char* what;
        std::vector<std::pair<int, const char*>> typed;
        int command;
        std::vector<std::pair<int, const char*>> shown;
    } cases[] = {
        {"max rpm", {}, kCalcMaxRpm, {{1002, "77282.7"}}},
        {"max rpm, half the diameter", {{1000, "2.15"}}, kCalcMaxRpm, {{1002, "154565"}}},
        {"mass flow", {}, kCalcMassFlow, {{1006, "1.41307"}, {1028, "1.41307"}}},
        {"mass flow, small wheel",
         {{1003, "2"}, {1004, "0.8"}},
         kCalcMassFlow,
         {{1006, "0.628031"}, {1028, "0.628031"}}},
        {"full analysis",
         {},
         kCalcFullAnalysis,
         {{1011, "161.191"},
          {1013, "176.191"},
          {1015, "141.582"},
          {1017, "2.13097"},
          {1020, "646.418"},
          {1019, "1.44388"},
          {1022, "574.367"},
          {1023, "1339"},
          {1024, "38.4294"},
          {1025, "5.82725"},
          {1026, "2.72387"},
          {1027, "58.6333"}}},
        {"full analysis, P2 15",
         {{1007, "15"}},
         kCalcFullAnalysis,
         {{1017, "1.51092"},
          {1019, "1.27102"},
          {1023, "1126.02"},
          {1026, "3.111"},
          {1027, "49.3072"}}},
        {"full analysis, turbine efficiency 10",
         {{1018, "10"}},
         kCalcFullAnalysis,
         {{1011, "161.191"}, {1020, "646.418"}, {1017, "nan"}, {1019, "nan"}, {1027, "nan"}}},
        {"full analysis, ambient pressure 0",
         {{1030, "0"}},
         kCalcFullAnalysis,
         {{1011, "inf"}, {1020, "-inf"}, {1019, "nan"}, {1027, "nan"}}},
    };
    for (const auto& c : cases) {
        TurboAnalysisDialog dialog;
        runModal(dialog, [&] {
            for (const auto& [id, text] : c.typed)
                typeInto(box(dialog, id), text);
            auto expected = everyBox(dialog);
            click(dialog.GetDlgItem(c.command));
            const auto after = everyBox(dialog);
            for (const auto& [id, text] : c.shown)
                EXPECT_EQ(after.at(id), text) << c.what << ", box " << id;
            // Every box that is not one of the command's results shows what it showed.
            for (const int id : kResultsOf.at(c.command))
                expected.erase(id);
            for (const auto& [id, text] : expected)
                EXPECT_EQ(after.at(id), text) << c.what << ", box " << id;
        });
    }
}

TEST(TurboAnalysisWindow, ConverterWorksFromTheLargerNumber) {
    const struct {
        const char *cm, *inches, *cmAfter, *inchesAfter;
    } cases[] = {
        {"10", "0", "10", "3.93701"}, {"0", "1", "2.54", "1"}, {"5", "1", "5", "1.9685"},
        {"1", "5", "12.7", "5"},      {"-1", "0", "0", "0"},   {"3", "3", "3", "3"},
    };
    for (const auto& c : cases) {
        TurboAnalysisDialog dialog;
        runModal(dialog, [&] {
            typeInto(box(dialog, 1032), c.cm);
            typeInto(box(dialog, 1033), c.inches);
            click(dialog.GetDlgItem(kConvert));
            EXPECT_EQ(textOf(box(dialog, 1032)), c.cmAfter) << c.cm << " cm, " << c.inches << " in";
            EXPECT_EQ(textOf(box(dialog, 1033)), c.inchesAfter)
                << c.cm << " cm, " << c.inches << " in";
        });
    }
}

TEST(TurboAnalysisWindow, EnterInAnEntryBoxRunsMaxRpm) {
    for (const int entry : {1000, 1007, 1032}) {
        TurboAnalysisDialog dialog;
        runModal(dialog, [&] {
            box(dialog, entry)->setFocus();
            pressKey(box(dialog, entry), Qt::Key_Return);
            EXPECT_EQ(textOf(box(dialog, 1002)), "77282.7") << entry;
            EXPECT_EQ(textOf(box(dialog, 1011)), "0") << entry;
            EXPECT_EQ(textOf(box(dialog, 1006)), "0") << entry;
            EXPECT_TRUE(dialog.isVisible());
        });
    }
}

TEST(TurboAnalysisWindow, OpensTypingIntoTheOutletDiameterAndEnterStillRunsMaxRpm) {
    TurboAnalysisDialog dialog;
    runModal(dialog, [&] {
        ASSERT_EQ(dialog.focusWidget(), box(dialog, 1000));
        EXPECT_EQ(box(dialog, 1000)->selectedText(), "4.3");
        QTest::keyClicks(dialog.focusWidget(), "2.15");
        pressKey(dialog.focusWidget(), Qt::Key_Return);
        EXPECT_EQ(textOf(box(dialog, 1000)), "2.15");
        EXPECT_EQ(textOf(box(dialog, 1002)), "154565");
    });
}

TEST(TurboAnalysisWindow, MassFlowEstimateFeedsTheFullAnalysisBitForBit) {
    TurboAnalysisDialog dialog;
    runModal(dialog, [&] {
        click(dialog.GetDlgItem(kCalcMassFlow));
        click(dialog.GetDlgItem(kCalcFullAnalysis));
    });
    turbo::TurboFields expected;
    turbo::calcMassFlow(expected);
    turbo::calcFullAnalysis(expected);
    EXPECT_EQ(fieldBits(dialog), fieldBits(expected));
    EXPECT_EQ(bits(dialog.m_MassFlow), bits(dialog.m_MassFlowEstimate));
}

TEST(TurboAnalysisWindow, ResetRestoresEveryDefault) {
    TurboAnalysisDialog dialog;
    runModal(dialog, [&] {
        typeInto(box(dialog, 1032), "10");
        click(dialog.GetDlgItem(kConvert));
        typeInto(box(dialog, 1000), "3.7");
        typeInto(box(dialog, 1003), "2.2");
        click(dialog.GetDlgItem(kCalcMaxRpm));
        click(dialog.GetDlgItem(kCalcMassFlow));
        typeInto(box(dialog, 1007), "20");
        click(dialog.GetDlgItem(kCalcFullAnalysis));
        ASSERT_NE(textOf(box(dialog, 1002)), "0");
        ASSERT_NE(textOf(box(dialog, 1033)), "0");

        click(dialog.GetDlgItem(kReset));
        expectDefaultsShown(dialog);
        expectDefaultFields(dialog);
        // The restored boxes read back as the exact defaults.
        click(dialog.GetDlgItem(kCalcMaxRpm));
        EXPECT_EQ(textOf(box(dialog, 1002)), "77282.7");
    });
}

TEST(TurboAnalysisWindow, ResetAndExitWorkWithTextThatIsNotANumber) {
    TurboAnalysisDialog dialog;
    PopupWatcher watcher;
    const int code = runModal(dialog, [&] {
        click(dialog.GetDlgItem(kCalcMaxRpm));
        typeInto(box(dialog, 1000), "abc");
        typeInto(box(dialog, 1033), "");
        click(dialog.GetDlgItem(kReset));
        expectDefaultsShown(dialog);
        typeInto(box(dialog, 1007), "4,3");
        click(dialog.GetDlgItem(IDOK));
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(code, IDOK);
    EXPECT_TRUE(watcher.seen().empty());
}

TEST(TurboAnalysisWindow, ExitClosesAndANewWindowStartsFromTheDefaults) {
    {
        TurboAnalysisDialog first;
        const int code = runModal(first, [&] {
            typeInto(box(first, 1007), "15");
            click(first.GetDlgItem(kCalcFullAnalysis));
            click(first.GetDlgItem(kCalcMaxRpm));
            click(first.GetDlgItem(IDOK));
        });
        EXPECT_EQ(code, IDOK);
        EXPECT_EQ(first.m_P2, 15.0f);
    }
    TurboAnalysisDialog second;
    runModal(second, [&] { expectDefaultsShown(second); });
}

TEST(TurboAnalysisWindow, TextThatIsNotANumberStopsTheCommand) {
    const struct {
        int box;
        const char* typed;
        int command;
        const char* named;
        const char* commandNamed;
    } cases[] = {
        {1000, "", kCalcMaxRpm, "Compressor Outlet Diameter(inches)",
         "\"Calculate\" in \"Max Turbo RPM\""},
        {1003, "abc", kCalcMassFlow, "Inducer Diameter", "\"Calculate\" in \"Mass Flow Rate\""},
        {1007, "4,3", kCalcFullAnalysis, "P2 (psig)",
         "\"Calculate\" in \"Full Analysis - Compressor and Turbine\""},
        {1028, "1e39", kCalcFullAnalysis, "Mass Flow Rate (Full Analysis)",
         "\"Calculate\" in \"Full Analysis - Compressor and Turbine\""},
        {1032, "ten", kConvert, "Converter (cm)", "\"Convert\""},
        {1033, "1e39", kConvert, "Converter (inches)", "\"Convert\""},
        // Every command reads the whole form, so a bad box elsewhere stops it too.
        {1030, "abc", kCalcMaxRpm, "Ambient Pressure", "\"Calculate\" in \"Max Turbo RPM\""},
    };
    for (const auto& c : cases) {
        TurboAnalysisDialog dialog;
        runModal(dialog, [&] {
            typeInto(box(dialog, c.box), c.typed);
            const auto before = everyBox(dialog);
            PopupWatcher watcher;
            click(dialog.GetDlgItem(c.command));
            ASSERT_EQ(watcher.messages().size(), 1) << c.typed;
            const QString message = watcher.messages()[0];
            EXPECT_TRUE(message.contains(QString("box \"%1\" ").arg(c.named)))
                << c.typed << ": " << message.toStdString();
            EXPECT_TRUE(message.contains(QString("%1 was not carried out").arg(c.commandNamed)))
                << message.toStdString();
            EXPECT_EQ(everyBox(dialog), before) << c.typed;
            EXPECT_EQ(dialog.focusWidget(), box(dialog, c.box)) << c.typed;
            EXPECT_EQ(box(dialog, c.box)->selectedText(), c.typed);
            // Mended, the same command runs.
            typeInto(box(dialog, c.box), "1");
            click(dialog.GetDlgItem(c.command));
            EXPECT_NE(everyBox(dialog), before) << c.typed;
        });
    }
}

// A box the pressed button does not use stops it too; the message says why.
TEST(TurboAnalysisWindow, TheMessageForABoxOutsideTheCommandSaysWhy) {
    TurboAnalysisDialog dialog;
    runModal(dialog, [&] {
        typeInto(box(dialog, 1032), "");
        PopupWatcher watcher;
        click(dialog.GetDlgItem(kCalcMaxRpm));
        ASSERT_EQ(watcher.seen().size(), 1);
        EXPECT_EQ(watcher.seen()[0].title, "Vorlaxen - Turbo Analysis");
        EXPECT_EQ(watcher.seen()[0].text,
                  "The box \"Converter (cm)\" is empty.\n\n\"Calculate\" in \"Max Turbo RPM\" "
                  "was not carried out: every box on this form must hold a number for any "
                  "calculation to run, even a box the calculation does not use.");
        EXPECT_EQ(watcher.seen()[0].font.family(), dialog.font().family());
    });
}

TEST(TurboAnalysisWindow, NaNResultsReadBackSoLaterCommandsRun) {
    TurboAnalysisDialog dialog;
    runModal(dialog, [&] {
        typeInto(box(dialog, 1018), "10");
        click(dialog.GetDlgItem(kCalcFullAnalysis));
        ASSERT_EQ(textOf(box(dialog, 1017)), "nan");
        typeInto(box(dialog, 1018), "78");
        click(dialog.GetDlgItem(kCalcMaxRpm));
        EXPECT_EQ(textOf(box(dialog, 1002)), "77282.7");
        EXPECT_EQ(textOf(box(dialog, 1017)), "nan");
        click(dialog.GetDlgItem(kCalcFullAnalysis));
        EXPECT_EQ(textOf(box(dialog, 1017)), "2.13097");
        EXPECT_EQ(textOf(box(dialog, 1027)), "58.6333");
    });
}

} // namespace
