#include "dialog_template.hpp"

#include <gtest/gtest.h>

using namespace dialogs;

namespace {

TEST(DialogTemplate, ReadsHeaderControlsAndOptions) {
    const auto dialog = parseDialogTemplate(R"(# a comment
dialog 132 414 337 "Vorlaxen - Turbo Analysis"
font 8 "MS Sans Serif"
menu 140
noclose
label -1 117 9 40 8 "cm   =" right
edit 1000 150 45 40 12 name="Hub Diameter:"
edit 1002 150 60 40 12 readonly
defbutton 1001 200 45 40 14 "Calculate"
list 1018 60 9 70 60 items="Standard - in|Metric - mm|Metric - cm"
picture -1 234 116 95 33 resource=136
button 1005 10 10 20 10 "Say \"hi\" \\ there" multiline flat
)");
    EXPECT_EQ(dialog.id, 132);
    EXPECT_EQ(dialog.title, "Vorlaxen - Turbo Analysis");
    EXPECT_EQ(dialog.width, 414);
    EXPECT_EQ(dialog.height, 337);
    EXPECT_EQ(dialog.menuId, 140);
    EXPECT_FALSE(dialog.closeBox);
    ASSERT_EQ(dialog.controls.size(), 7u);

    const auto& label = dialog.controls[0];
    EXPECT_EQ(label.kind, ControlKind::Label);
    EXPECT_EQ(label.caption, "cm   =");
    EXPECT_TRUE(label.alignRight);

    ASSERT_NE(dialog.find(1000), nullptr);
    EXPECT_EQ(dialog.find(1000)->name, "Hub Diameter:");
    EXPECT_TRUE(dialog.find(1000)->caption.empty());
    EXPECT_TRUE(dialog.find(1002)->readOnly);
    EXPECT_EQ(dialog.find(1001)->kind, ControlKind::DefButton);
    EXPECT_EQ(dialog.find(1001)->rect.x, 200);
    EXPECT_EQ(dialog.find(1001)->rect.height, 14);
    EXPECT_EQ(dialog.find(1018)->items,
              (std::vector<std::string>{"Standard - in", "Metric - mm", "Metric - cm"}));
    EXPECT_EQ(dialog.controls[5].resource, 136);
    EXPECT_EQ(dialog.find(1005)->caption, "Say \"hi\" \\ there");
    EXPECT_TRUE(dialog.find(1005)->multiline);
    EXPECT_TRUE(dialog.find(1005)->flat);
    EXPECT_EQ(dialog.find(4242), nullptr);
}

TEST(DialogTemplate, RefusesBrokenTextsWithTheLine) {
    const struct {
        const char* text;
        int line;
    } cases[] = {
        {"label -1 1 2 3 4 \"x\"", 1},                      // no dialog line first
        {"dialog 1 2 3 \"t\"\nedit 1000 1 2 3", 2},         // rectangle incomplete
        {"dialog 1 2 3 \"t\"\nedit 1000 1 2 x 4", 2},       // not a number
        {"dialog 1 2 3 \"t\"\n\nwidget 1 2 3 4 5", 3},      // unknown kind
        {"dialog 1 2 3 \"t\"\nlabel -1 1 2 3 4 \"open", 2}, // quote not closed
        {"dialog 1 2 3 \"t\"\nlabel -1 1 2 3 4 bold", 2},   // unknown option
        {"dialog 1 2 \"t\"", 1},                            // header incomplete
        {"", 1},                                            // nothing at all
    };
    for (const auto& c : cases) {
        try {
            parseDialogTemplate(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const TemplateError& error) {
            EXPECT_EQ(error.line(), c.line) << c.text << " -> " << error.what();
        }
    }
}

TEST(MenuTemplate, ReadsPopupsItemsAndSeparators) {
    const auto menu = parseMenuTemplate(R"(menu 140
popup "&Menu"
item 100 "&About Vorlaxen..."
separator
item 2 "&Exit"
popup "&Run"
item 132 "&Turbo Analysis"
)");
    EXPECT_EQ(menu.id, 140);
    ASSERT_EQ(menu.popups.size(), 2u);
    ASSERT_EQ(menu.popups[0].items.size(), 3u);
    EXPECT_EQ(menu.popups[0].items[0].id, 100);
    EXPECT_TRUE(menu.popups[0].items[1].separator);
    EXPECT_EQ(menu.popups[1].items[0].text, "&Turbo Analysis");
    EXPECT_THROW(parseMenuTemplate("menu 1\nitem 2 \"x\""), TemplateError);
}

} // namespace
