// The field descriptions against the dialog templates: a label, unit text or frame changed on a
// form and not here (or the other way round) fails.
#include "calculation_fields.hpp"
#include "dialog_template.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

using dialogs::ControlKind;
using dialogs::ControlSpec;
using dialogs::DialogRect;

const dialogs::DialogTemplate& dialogTemplate(int id) {
    static std::map<int, dialogs::DialogTemplate> cache;
    if (!cache.contains(id)) {
        const std::string name = id == 132 ? "132-turbo-analysis.dlg" : "131-combustor.dlg";
        std::ifstream in(std::string(VX_DIALOGS_DIR) + "/" + name);
        std::stringstream text;
        text << in.rdbuf();
        cache[id] = dialogs::parseDialogTemplate(text.str());
    }
    return cache.at(id);
}

bool sameRow(const DialogRect& a, const DialogRect& b) {
    return a.y < b.y + b.height && b.y < a.y + a.height;
}
bool sameColumn(const DialogRect& a, const DialogRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width;
}
bool inside(const DialogRect& inner, const DialogRect& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x < outer.x + outer.width &&
           inner.y < outer.y + outer.height;
}

// The nearest label on the box's row to its left or right, and the nearest label above it in
// its column (a grid's heading).
struct Around {
    const ControlSpec* left = nullptr;
    const ControlSpec* right = nullptr;
    const ControlSpec* above = nullptr;
    std::string group;
};

Around around(const dialogs::DialogTemplate& t, const ControlSpec& control) {
    Around a;
    // A drop-down list's rectangle includes its open list; on the form it is one row high.
    ControlSpec box = control;
    if (box.kind == ControlKind::List)
        box.rect.height = 12;
    int bestGroupArea = 0;
    for (const auto& c : t.controls) {
        const auto& r = c.rect;
        if (c.kind == ControlKind::Group && inside(box.rect, r) &&
            (bestGroupArea == 0 || r.width * r.height < bestGroupArea)) {
            bestGroupArea = r.width * r.height;
            a.group = c.caption;
        }
        if (c.kind != ControlKind::Label)
            continue;
        if (sameRow(r, box.rect) && r.x < box.rect.x && (!a.left || r.x > a.left->rect.x))
            a.left = &c;
        if (sameRow(r, box.rect) && r.x > box.rect.x && (!a.right || r.x < a.right->rect.x))
            a.right = &c;
        if (sameColumn(r, box.rect) && r.y < box.rect.y && !sameRow(r, box.rect) &&
            (!a.above || r.y > a.above->rect.y))
            a.above = &c;
    }
    return a;
}

std::string withoutColon(std::string text) {
    if (text.ends_with(':'))
        text.pop_back();
    return text;
}

TEST(CalculationFields, LabelsUnitsAndFramesAreTheForms) {
    int checked = 0;
    for (const auto& calc : fields::kCalculations) {
        if (calc.dialog == 0)
            continue;
        const auto& t = dialogTemplate(calc.dialog);
        for (const auto& f : calc.fields) {
            SCOPED_TRACE(std::string(calc.name) + " " + std::string(f.key));
            if (f.control == 0)
                continue; // not on the form (the turbine inlet temperature)
            const auto* box = t.find(f.control);
            ASSERT_NE(box, nullptr);
            const auto a = around(t, *box);
            if (!f.label.empty()) {
                ASSERT_NE(a.left, nullptr);
                // In a grid the label is the row's and the column's heading together.
                const std::string grid =
                    a.above ? withoutColon(a.left->caption) + " " + a.above->caption + ":" : "";
                EXPECT_TRUE(a.left->caption == f.label || grid == f.label) << a.left->caption;
            }
            if (!f.unit.empty()) {
                ASSERT_NE(a.right, nullptr);
                EXPECT_EQ(a.right->caption, f.unit);
            }
            // A frame is the group around the box, or a heading label ("Drill Hole Diameters:").
            bool frameShown = a.group == f.frame;
            for (const auto& c : t.controls)
                frameShown = frameShown || (c.kind == ControlKind::Label &&
                                            withoutColon(c.caption) == f.frame && !f.frame.empty());
            EXPECT_TRUE(frameShown) << "frame \"" << f.frame << "\", group \"" << a.group << "\"";
            ++checked;
        }
    }
    EXPECT_EQ(checked, 2 + 4 + 19 + 15 + 2);
}

TEST(CalculationFields, FormUnitTextsAreTheQuantitysFormsUnits) {
    // One unit text per quantity: what the forms write beside a box is what the explorer shows.
    for (const auto& calc : fields::kCalculations) {
        for (const auto& f : calc.fields) {
            if (!f.unit.empty() && f.quantity != fields::Quantity::None) {
                EXPECT_EQ(fields::unitText(f.quantity, fields::UnitSystem::Forms), f.unit) << f.key;
            }
        }
    }
}

TEST(CalculationFields, KeysAreUniqueWithinACalculation) {
    for (const auto& calc : fields::kCalculations)
        for (std::size_t i = 0; i < calc.fields.size(); ++i)
            EXPECT_EQ(fields::findField(calc.fields, calc.fields[i].key), i)
                << calc.name << " " << calc.fields[i].key;
}

} // namespace
