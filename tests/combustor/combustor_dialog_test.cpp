// The Combustor and Flame Tube window driven as a person would: choosing a unit, "Enter",
// typing, "Calculate Flame Tube", the Enter key and "Exit", reading what the boxes show.
#include "combustor_dialog.hpp"
#include "flame_tube.hpp"
#include "number_text.hpp"
#include "unit_presets.hpp"
#include "window_driver.hpp"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using namespace window_test;

namespace {

constexpr int kUnitList = 1018;
constexpr int kEnter = 1020;
constexpr int kCalculate = 1003;
constexpr int kInducerDiameter = 1001;
constexpr int kDrills[] = {1014, 1015, 1016};
constexpr int kExamples[] = {1022, 1023, 1024};
constexpr int kUnitName = 1019;
constexpr int kRadius = 1002;
constexpr int kArea = 1004;
constexpr int kLength = 1006;
constexpr int kDiameter = 1007;
constexpr int kHoleAreas[] = {1008, 1009, 1010};
constexpr int kHoles[] = {1011, 1012, 1013};
constexpr int kNumberBoxes[] = {1001, 1002, 1004, 1006, 1007, 1008, 1009,
                                1010, 1011, 1012, 1013, 1014, 1015, 1016};
constexpr int kResultBoxes[] = {1002, 1004, 1006, 1007, 1008, 1009, 1010, 1011, 1012, 1013};

QWidget* item(CombustorDialog& d, int id) {
    return d.GetDlgItem(id);
}

QComboBox* unitList(CombustorDialog& d) {
    return qobject_cast<QComboBox*>(d.GetDlgItem(kUnitList));
}

// Picks a unit with the arrow keys, as from the keyboard.
void chooseUnit(CombustorDialog& d, int index) {
    QComboBox* list = unitList(d);
    list->setFocus(Qt::OtherFocusReason);
    while (list->currentIndex() < index)
        pressKey(list, Qt::Key_Down);
    while (list->currentIndex() > index)
        pressKey(list, Qt::Key_Up);
}

std::uint32_t bits(float v) {
    return std::bit_cast<std::uint32_t>(v);
}

TEST(CombustorWindow, OpensWithNoUnitEmptyTextsAndZeros) {
    CombustorDialog d;
    runModal(d, [&] {
        EXPECT_EQ(d.windowTitle(), "Vorlaxen - Combustor and Flame Tube");
        for (int id : kNumberBoxes)
            EXPECT_EQ(textOf(item(d, id)), "0") << id;
        EXPECT_EQ(textOf(item(d, kUnitName)), "");
        for (int id : kExamples)
            EXPECT_EQ(textOf(item(d, id)), "") << id;
        QComboBox* list = unitList(d);
        EXPECT_EQ(list->currentIndex(), -1);
        EXPECT_FALSE(list->isEditable());
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->itemText(0), "Standard - in");
        EXPECT_EQ(list->itemText(1), "Metric - mm");
        EXPECT_EQ(list->itemText(2), "Metric - cm");
        EXPECT_EQ(d.m_CalcFlameTubeButton.button(), item(d, kCalculate));
        EXPECT_TRUE(qobject_cast<QPushButton*>(item(d, kCalculate))->isDefault());
    });
}

// The unit list is the first step, so the window opens with the focus there, drawn so that the
// user sees it, and the arrow keys choose a unit at once.
TEST(CombustorWindow, OpensWithTheFocusShownInTheUnitList) {
    CombustorDialog d;
    runModal(d, [&] {
        ASSERT_EQ(d.focusWidget(), unitList(d));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d)); // the focus is drawn in the active window
        const QImage focused = grab(unitList(d));
        item(d, kInducerDiameter)->setFocus();
        EXPECT_NE(grab(unitList(d)), focused) << "the focus is not drawn";
        unitList(d)->setFocus();
        pressKey(unitList(d), Qt::Key_Down);
        EXPECT_EQ(unitList(d)->currentIndex(), combustor::kInches);
    });
}

TEST(CombustorWindow, ResultsAreReadOnlyAndInputsEditable) {
    CombustorDialog d;
    runModal(d, [&] {
        for (int id : kResultBoxes)
            EXPECT_TRUE(isReadOnly(item(d, id))) << id;
        for (int id : {kUnitName, 1022, 1023, 1024})
            EXPECT_TRUE(isReadOnly(item(d, id))) << id;
        for (int id : {kInducerDiameter, 1014, 1015, 1016})
            EXPECT_FALSE(isReadOnly(item(d, id))) << id;
        // Typing into a result box leaves it as it was.
        typeInto(item(d, kDiameter), "12");
        EXPECT_EQ(textOf(item(d, kDiameter)), "0");
        EXPECT_TRUE(d.dialogTemplate().find(kRadius)->sunken);
    });
}

TEST(CombustorWindow, EnterShowsThePresetsOfTheChosenUnit) {
    const struct {
        int unit;
        const char* name;
        const char* drills[3];
        const char* examples[3];
    } cases[] = {
        {0,
         "Standard - Inches",
         {"0.25", "0.375", "0.625"},
         {"1/4 = .25", "3/8 = .375", "5/8 = .625"}},
        {1, "Metric - Millimeters", {"6", "10", "16"}, {"6 mm", "10 mm", "16 mm"}},
        {2, "Metric - Centimeters", {"0.6", "1", "1.6"}, {"6mm = .6", "10mm = 1.0", "16mm = 1.6"}},
    };
    for (const auto& c : cases) {
        CombustorDialog d;
        runModal(d, [&] {
            chooseUnit(d, c.unit);
            click(item(d, kEnter));
            EXPECT_EQ(textOf(item(d, kUnitName)), c.name);
            for (int row = 0; row < 3; ++row) {
                EXPECT_EQ(textOf(item(d, kDrills[row])), c.drills[row]) << c.name;
                EXPECT_EQ(textOf(item(d, kExamples[row])), c.examples[row]) << c.name;
            }
            // "Enter" calculates nothing.
            EXPECT_EQ(textOf(item(d, kDiameter)), "0");
        });
    }
}

TEST(CombustorWindow, CalculateShowsTheFlameTubeAndHoles) {
    const struct {
        int unit;
        const char* typed;
        const char* radius;
        const char* area;
        const char* length;
        const char* diameter;
        const char* holeAreas[3];
        const char* holes[3];
    } cases[] = {
        {0,
         "1.5",
         "0.75",
         "1.76715",
         "9",
         "4.5",
         {"0.530144", "0.353429", "0.883573"},
         {"10.8", "3.2", "2.88"}},
        {0,
         "3",
         "1.5",
         "7.06858",
         "18",
         "6",
         {"2.12057", "1.41372", "3.53429"},
         {"43.2", "12.8", "11.52"}},
        // A typed 1.6 is stored a little above 1.6: the constant 5 inch tube, not 4.8.
        {0,
         "1.6",
         "0.8",
         "2.01062",
         "9.6",
         "5",
         {"0.603186", "0.402124", "1.00531"},
         {"12.288", "3.64089", "3.2768"}},
        // A typed 50.55 is stored a little below 50.55: still three times the inducer.
        {1,
         "50.55",
         "25.275",
         "2006.93",
         "303.3",
         "151.65",
         {"602.079", "401.386", "1003.46"},
         {"21.2942", "5.1106", "4.99083"}},
        {1,
         "57",
         "28.5",
         "2551.76",
         "342",
         "143.173",
         {"765.528", "510.352", "1275.88"},
         {"27.075", "6.498", "6.3457"}},
        {2,
         "5.055",
         "2.5275",
         "20.0693",
         "30.33",
         "15.165",
         {"6.02079", "4.01386", "10.0346"},
         {"21.2942", "5.1106", "4.99082"}},
        {2,
         "7",
         "3.5",
         "38.4845",
         "42",
         "14",
         {"11.5454", "7.6969", "19.2423"},
         {"40.8333", "9.8", "9.57031"}},
    };
    for (const auto& c : cases) {
        CombustorDialog d;
        runModal(d, [&] {
            SCOPED_TRACE(std::string(c.typed) + " in unit " + std::to_string(c.unit));
            chooseUnit(d, c.unit);
            click(item(d, kEnter));
            typeInto(item(d, kInducerDiameter), c.typed);
            click(item(d, kCalculate));
            EXPECT_EQ(textOf(item(d, kRadius)), c.radius);
            EXPECT_EQ(textOf(item(d, kArea)), c.area);
            EXPECT_EQ(textOf(item(d, kLength)), c.length);
            EXPECT_EQ(textOf(item(d, kDiameter)), c.diameter);
            for (int row = 0; row < 3; ++row) {
                EXPECT_EQ(textOf(item(d, kHoleAreas[row])), c.holeAreas[row]) << row;
                EXPECT_EQ(textOf(item(d, kHoles[row])), c.holes[row]) << row;
            }
            // The input and the unit texts stay as they were.
            EXPECT_EQ(textOf(item(d, kInducerDiameter)), c.typed);
            EXPECT_EQ(unitList(d)->currentIndex(), c.unit);
        });
    }
}

TEST(CombustorWindow, WindowFiguresAreTheSizingsBitForBit) {
    for (int unit : {0, 1, 2}) {
        for (const char* typed : {"1.6", "2.49", "5.7", "6.35", "57", "63.49"}) {
            CombustorDialog d;
            runModal(d, [&] {
                chooseUnit(d, unit);
                click(item(d, kEnter));
                typeInto(item(d, kInducerDiameter), typed);
                click(item(d, kCalculate));
            });
            combustor::CombustorFields want;
            want.m_UnitIndex = unit;
            combustor::applyUnitPreset(want);
            want.m_InducerDiameter = *fields::parseFloat(typed); // not stof: it follows the locale
            combustor::calcFlameTube(want);
            SCOPED_TRACE(std::string(typed) + " in unit " + std::to_string(unit));
            EXPECT_EQ(bits(d.m_InducerDiameter), bits(want.m_InducerDiameter));
            EXPECT_EQ(bits(d.m_TertiaryDrill), bits(want.m_TertiaryDrill));
            EXPECT_EQ(bits(d.m_InducerArea), bits(want.m_InducerArea));
            EXPECT_EQ(bits(d.m_TubeDiameter), bits(want.m_TubeDiameter));
            EXPECT_EQ(bits(d.m_PrimaryHoles), bits(want.m_PrimaryHoles));
            EXPECT_EQ(bits(d.m_TertiaryHoles), bits(want.m_TertiaryHoles));
        }
    }
}

TEST(CombustorWindow, EnterKeyInABoxRunsCalculateFlameTube) {
    CombustorDialog d;
    runModal(d, [&] {
        chooseUnit(d, combustor::kMillimetres);
        click(item(d, kEnter));
        typeInto(item(d, kInducerDiameter), "70");
        pressKey(item(d, kInducerDiameter), Qt::Key_Return);
        EXPECT_EQ(textOf(item(d, kDiameter)), "140");
        EXPECT_EQ(textOf(item(d, kLength)), "420");
        typeInto(item(d, 1015), "5");
        pressKey(item(d, 1015), Qt::Key_Enter);
        EXPECT_EQ(textOf(item(d, kHoles[1])), "39.2");
        EXPECT_TRUE(d.isVisible());
    });
}

TEST(CombustorWindow, EnterReplacesTypedDrillsAndKeepsResultsUntilTheNextCalculation) {
    CombustorDialog d;
    runModal(d, [&] {
        chooseUnit(d, combustor::kMillimetres);
        click(item(d, kEnter));
        typeInto(item(d, kInducerDiameter), "57");
        click(item(d, kCalculate));
        ASSERT_EQ(textOf(item(d, kDiameter)), "143.173");
        typeInto(item(d, 1014), "8");
        typeInto(item(d, 1016), "20");

        chooseUnit(d, combustor::kInches);
        click(item(d, kEnter));
        EXPECT_EQ(textOf(item(d, kUnitName)), "Standard - Inches");
        EXPECT_EQ(textOf(item(d, 1014)), "0.25");
        EXPECT_EQ(textOf(item(d, 1016)), "0.625");
        EXPECT_EQ(textOf(item(d, kExamples[0])), "1/4 = .25");
        // Diameter and results still from the millimetre calculation.
        EXPECT_EQ(textOf(item(d, kInducerDiameter)), "57");
        EXPECT_EQ(textOf(item(d, kDiameter)), "143.173");
        EXPECT_EQ(textOf(item(d, kHoles[0])), "27.075");

        click(item(d, kCalculate));
        EXPECT_EQ(textOf(item(d, kDiameter)), "114"); // 57 inches: twice the inducer
        EXPECT_EQ(textOf(item(d, kLength)), "342");
        EXPECT_EQ(textOf(item(d, kHoles[0])), "15595.2");
    });
}

TEST(CombustorWindow, EnterWithNoUnitSelectedChangesNothing) {
    CombustorDialog d;
    runModal(d, [&] {
        typeInto(item(d, 1014), "0.2");
        typeInto(item(d, 1015), "0.4");
        typeInto(item(d, kInducerDiameter), "1.5");
        click(item(d, kEnter));
        EXPECT_EQ(textOf(item(d, 1014)), "0.2");
        EXPECT_EQ(textOf(item(d, 1015)), "0.4");
        EXPECT_EQ(textOf(item(d, 1016)), "0");
        EXPECT_EQ(textOf(item(d, kUnitName)), "");
        for (int id : kExamples)
            EXPECT_EQ(textOf(item(d, id)), "");
        EXPECT_EQ(textOf(item(d, kDiameter)), "0");

        // Calculating with no unit: ratio 3, the typed drills, and no tertiary drill.
        click(item(d, kCalculate));
        EXPECT_EQ(textOf(item(d, kDiameter)), "4.5");
        EXPECT_EQ(textOf(item(d, kHoles[0])), "16.875");
        EXPECT_EQ(textOf(item(d, kHoles[1])), "2.8125");
        EXPECT_EQ(textOf(item(d, kHoles[2])), "inf");

        click(item(d, kEnter)); // results are left alone as well
        EXPECT_EQ(textOf(item(d, kHoles[0])), "16.875");
        EXPECT_EQ(unitList(d)->currentIndex(), -1);
    });
}

TEST(CombustorWindow, ZeroDrillsGiveInfAndZeroInducerGivesNan) {
    const struct {
        const char* typed;
        const char* diameter;
        const char* length;
        const char* holes;
    } cases[] = {{"3", "9", "18", "inf"}, {"0", "0", "0", "nan"}, {"-3", "-9", "-18", "inf"}};
    for (const auto& c : cases) {
        CombustorDialog d;
        runModal(d, [&] {
            typeInto(item(d, kInducerDiameter), c.typed);
            click(item(d, kCalculate));
            EXPECT_EQ(textOf(item(d, kDiameter)), c.diameter);
            EXPECT_EQ(textOf(item(d, kLength)), c.length);
            for (int id : kHoles)
                EXPECT_EQ(textOf(item(d, id)), c.holes) << c.typed;
            // The "inf" and "nan" results read back without complaint on the next command.
            PopupWatcher watcher;
            click(item(d, kCalculate));
            EXPECT_TRUE(watcher.seen().empty());
            EXPECT_EQ(textOf(item(d, kHoles[0])), c.holes);
        });
    }
}

TEST(CombustorWindow, UnreadableTextStopsEitherCommandAndNamesTheBox) {
    const struct {
        int box;
        const char* typed;
        int command;
        const char* named;
        const char* commandNamed;
    } cases[] = {
        {kInducerDiameter, "abc", kCalculate, "Inducer Diameter", "Calculate Flame Tube"},
        {kInducerDiameter, "1,5", kEnter, "Inducer Diameter", "Enter"},
        {1014, "", kCalculate, "Primary drill diameter", "Calculate Flame Tube"},
        {1015, "3/8", kEnter, "Secondary drill diameter", "Enter"},
        {1016, "1e40", kCalculate, "Tertiary drill diameter", "Calculate Flame Tube"},
    };
    for (const auto& c : cases) {
        CombustorDialog d;
        runModal(d, [&] {
            SCOPED_TRACE(c.typed);
            typeInto(item(d, kInducerDiameter), "2");
            chooseUnit(d, combustor::kCentimetres); // chosen but not yet entered
            typeInto(item(d, c.box), c.typed);
            PopupWatcher watcher;
            click(item(d, c.command));
            ASSERT_EQ(watcher.messages().size(), 1);
            const QString message = watcher.messages()[0];
            EXPECT_TRUE(message.contains(QString("box \"%1\" ").arg(c.named)))
                << message.toStdString();
            EXPECT_TRUE(message.contains(QString("\"%1\" was not carried out").arg(c.commandNamed)))
                << message.toStdString();
            EXPECT_EQ(textOf(item(d, c.box)), c.typed);
            EXPECT_EQ(d.focusWidget(), item(d, c.box));
            // Nothing computed, no preset applied.
            for (int id : kResultBoxes)
                EXPECT_EQ(textOf(item(d, id)), "0") << id;
            EXPECT_EQ(textOf(item(d, kUnitName)), "");
            EXPECT_EQ(textOf(item(d, kExamples[0])), "");
            EXPECT_NE(textOf(item(d, kDrills[0])), "0.6");
        });
    }
}

TEST(CombustorWindow, TheFirstUnreadableBoxInBindingOrderIsNamed) {
    // The primary drill is bound before the inducer diameter.
    CombustorDialog d;
    runModal(d, [&] {
        typeInto(item(d, kInducerDiameter), "x");
        typeInto(item(d, 1014), "y");
        PopupWatcher watcher;
        click(item(d, kCalculate));
        ASSERT_EQ(watcher.messages().size(), 1);
        EXPECT_TRUE(watcher.messages()[0].contains("\"Primary drill diameter\""))
            << watcher.messages()[0].toStdString();
        EXPECT_EQ(d.focusWidget(), item(d, 1014));
    });
}

TEST(CombustorWindow, ExitClosesEvenWithUnreadableText) {
    CombustorDialog d;
    const int code = runModal(d, [&] {
        typeInto(item(d, kInducerDiameter), "abc");
        PopupWatcher watcher;
        click(item(d, IDOK));
        EXPECT_TRUE(watcher.seen().empty());
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(code, IDOK);
}

TEST(CombustorWindow, ExitReadsTheForm) {
    CombustorDialog d;
    const int code = runModal(d, [&] {
        chooseUnit(d, combustor::kCentimetres);
        typeInto(item(d, kInducerDiameter), "4.25");
        click(item(d, IDOK));
    });
    EXPECT_EQ(code, IDOK);
    EXPECT_EQ(d.m_UnitIndex, combustor::kCentimetres);
    EXPECT_EQ(d.m_InducerDiameter, 4.25f);
}

// ---- layout -------------------------------------------------------------------------------

std::vector<QString> labelTexts(CombustorDialog& d) {
    std::vector<QString> texts;
    for (QLabel* label : d.findChildren<QLabel*>())
        if (!label->text().isEmpty())
            texts.push_back(label->text());
    return texts;
}

TEST(CombustorWindow, EveryTextOfTheLayoutIsShownExactly) {
    CombustorDialog d;
    runModal(d, [&] {
        const std::vector<QString> labels = labelTexts(d);
        const auto count = [&](const QString& text) {
            return std::count(labels.begin(), labels.end(), text);
        };
        const struct {
            const char* text;
            int times;
        } expected[] = {
            {"Select Units:", 1},
            {"Unit of measurement:", 1},
            {"Inducer Diameter:", 1},
            {"Drill Hole Diameters:", 1},
            {"Primary:", 2},
            {"Secondary:", 2},
            {"Tertiary:", 2},
            {"Ex:", 1},
            {"Inducer Radius:", 1},
            {"Inducer Area:", 1},
            {"Length:", 1},
            {"Diameter:", 1},
            {"Hole Area", 1},
            {"Number Of Holes", 1},
            {"For combustor housing diameter, add 1.0 to 1.5 inches to flame tube diameter, "
             "leaving a 1/2 to 3/4 inch air gap between housing and flame tube walls.",
             1},
        };
        for (const auto& e : expected)
            EXPECT_EQ(count(e.text), e.times) << e.text;

        QStringList frames;
        for (QGroupBox* group : d.findChildren<QGroupBox*>())
            frames << group->title();
        frames.sort();
        EXPECT_EQ(frames, QStringList({"", "", "Flame Tube", "Flame Tube Holes", "Inputs"}));

        EXPECT_EQ(textOf(item(d, kEnter)), "Enter");
        EXPECT_EQ(textOf(item(d, IDOK)), "Exit");
        EXPECT_EQ(textOf(item(d, kCalculate)).replace('\n', ' '), "Calculate Flame Tube");
    });
}

TEST(CombustorWindow, TemplateHasTheSizeFramesAndPictureOfTheLayout) {
    CombustorDialog d;
    const dialogs::DialogTemplate& t = d.dialogTemplate();
    EXPECT_EQ(t.id, 131);
    EXPECT_EQ(t.width, 372);
    EXPECT_EQ(t.height, 225);
    EXPECT_EQ(t.fontPoints, 8);
    EXPECT_EQ(t.fontFace, "MS Sans Serif");
    EXPECT_EQ(t.menuId, 0);

    const struct {
        const char* caption;
        dialogs::DialogRect rect;
    } frames[] = {
        {"Inputs", {25, 30, 187, 77}},      {"", {25, 107, 112, 40}},
        {"Flame Tube", {25, 150, 112, 42}}, {"Flame Tube Holes", {165, 113, 155, 79}},
        {"", {53, 193, 262, 26}},
    };
    std::vector<const dialogs::ControlSpec*> groups;
    const dialogs::ControlSpec* picture = nullptr;
    for (const auto& entry : t.controls) {
        if (entry.kind == dialogs::ControlKind::Group)
            groups.push_back(&entry);
        if (entry.kind == dialogs::ControlKind::Picture)
            picture = &entry;
    }
    ASSERT_EQ(groups.size(), std::size(frames));
    for (std::size_t i = 0; i < groups.size(); ++i) {
        EXPECT_EQ(groups[i]->caption, frames[i].caption) << i;
        EXPECT_EQ(groups[i]->rect.x, frames[i].rect.x) << i;
        EXPECT_EQ(groups[i]->rect.y, frames[i].rect.y) << i;
        EXPECT_EQ(groups[i]->rect.width, frames[i].rect.width) << i;
        EXPECT_EQ(groups[i]->rect.height, frames[i].rect.height) << i;
    }
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->resource, 137);
    EXPECT_EQ(picture->rect.x, 221);
    EXPECT_EQ(picture->rect.y, 27);
    EXPECT_EQ(picture->rect.width, 127);
    EXPECT_EQ(picture->rect.height, 81);
    EXPECT_EQ(t.find(IDOK)->rect.x, 327);
    EXPECT_EQ(t.find(IDOK)->rect.y, 7);
    EXPECT_EQ(t.find(kUnitName)->rect.width, 75);
    EXPECT_EQ(t.find(kCalculate)->kind, dialogs::ControlKind::DefButton);
}

TEST(CombustorWindow, TheSketchIsDrawn) {
    CombustorDialog d;
    runModal(d, [&] {
        QLabel* sketch = nullptr;
        for (QLabel* label : d.findChildren<QLabel*>())
            if (!label->pixmap().isNull())
                sketch = label;
        ASSERT_NE(sketch, nullptr);
        const QImage image = sketch->pixmap().toImage();
        // Some dark ink, some light paper.
        int dark = 0, light = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() > 200 && c.lightness() < 80)
                    ++dark;
                if (c.alpha() > 200 && c.lightness() > 200)
                    ++light;
            }
        EXPECT_GT(dark, 100);
        EXPECT_GT(light, 100);
    });
}

// Labels must show their whole text, and no two controls may cover each other.
TEST(CombustorWindow, EveryControlFitsAndNothingOverlaps) {
    CombustorDialog d;
    runModal(d, [&] {
        const QRect window = d.rect();
        std::vector<QWidget*> placed;
        for (QWidget* child : d.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isVisible() || qobject_cast<QGroupBox*>(child))
                continue;
            EXPECT_TRUE(window.contains(child->geometry())) << child->objectName().toStdString();
            if (auto* label = qobject_cast<QLabel*>(child); label && !label->text().isEmpty()) {
                const QFontMetrics metrics(label->font());
                const QRect needed = metrics.boundingRect(QRect(0, 0, label->width(), 1000),
                                                          Qt::TextWordWrap, label->text());
                EXPECT_LE(needed.height(), label->height()) << label->text().toStdString();
                const QStringList words = label->text().split(' ');
                for (const QString& word : words)
                    EXPECT_LE(metrics.horizontalAdvance(word), label->width())
                        << label->text().toStdString();
            }
            placed.push_back(child);
        }
        for (std::size_t i = 0; i < placed.size(); ++i)
            for (std::size_t j = i + 1; j < placed.size(); ++j)
                EXPECT_FALSE(placed[i]->geometry().intersects(placed[j]->geometry()))
                    << placed[i]->metaObject()->className() << " "
                    << placed[i]->objectName().toStdString() << " / "
                    << placed[j]->metaObject()->className() << " "
                    << placed[j]->objectName().toStdString();
        // Buttons show their captions whole.
        for (QPushButton* button : d.findChildren<QPushButton*>()) {
            const QFontMetrics metrics(button->font());
            for (const QString& line : button->text().split('\n'))
                EXPECT_LT(metrics.horizontalAdvance(line), button->width() - 4)
                    << line.toStdString();
            EXPECT_LE(metrics.height() * button->text().count('\n') + metrics.height(),
                      button->height());
        }
    });
}

} // namespace
