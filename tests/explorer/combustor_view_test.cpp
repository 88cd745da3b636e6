#include "candidate_table.hpp"
#include "combustor_view.hpp"
#include "explorer_window.hpp"
#include "window_driver.hpp"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace window_test;

namespace {

class CombustorTab : public ::testing::Test {
protected:
    void SetUp() override { QSettings("Vorlaxen Designer", "Design Explorer").clear(); }
    // Where a file goes: the temporary folder, or VX_LOOK_DIR to look at it afterwards.
    QString place(const QString& name) const {
        const char* look = std::getenv("VX_LOOK_DIR");
        return (look ? QString::fromLocal8Bit(look) : files_.path()) + QLatin1Char('/') + name;
    }
    QTemporaryDir files_;
};

QString figures(flametube::CombustorView* view) {
    return view->figuresText()->toPlainText();
}

// The first candidate has the Turbo Analysis window's 3 in inducer. In inches (worked in the
// tube's tests): 43 x 1/4, 13 x 3/8, 12 x 5/8 in. In mm, 76.2: a 152.4 x 457.2 tube, primary
// area 0.3 x 38.1^2 x pi = 1368.11 mm2: 48.4 holes of 6 mm, 48; of 8 mm, 27.2, so 27.
TEST_F(CombustorTab, EachCandidatesTubeInTheExplorersUnitsWithItsOwnDrills) {
    ExplorerWindow w;
    w.show();
    ASSERT_EQ(w.views()->tabText(1), QStringLiteral("Combustor"));
    w.views()->setCurrentIndex(1);
    auto* view = w.combustor();
    EXPECT_TRUE(figures(view).contains(QStringLiteral("43 x 1/4 in")))
        << figures(view).toStdString();
    EXPECT_TRUE(figures(view).contains(QStringLiteral("13 x 3/8 in")));
    EXPECT_TRUE(figures(view).contains(QStringLiteral("12 x 5/8 in")));
    EXPECT_TRUE(figures(view).contains(QStringLiteral("Checks against the cycle")));

    w.unitsBox()->setCurrentIndex(1);
    EXPECT_TRUE(figures(view).contains(QStringLiteral("length 457.2, diameter 152.4")))
        << figures(view).toStdString();
    EXPECT_TRUE(figures(view).contains(QStringLiteral("48 x 6.0 mm")));
    typeInto(view->drillBox(0), QStringLiteral("8"));
    pressKey(view->drillBox(0), Qt::Key_Return);
    EXPECT_TRUE(figures(view).contains(QStringLiteral("27 x 8.0 mm")));
    grab(&w).save(place(QStringLiteral("combustor-tab.png"))); // to look at
    // Another candidate has its own drills; coming back finds this one's again.
    view->candidateBox()->setCurrentIndex(1);
    EXPECT_EQ(view->drillBox(0)->text(), QStringLiteral("6"));
    view->candidateBox()->setCurrentIndex(0);
    EXPECT_EQ(view->drillBox(0)->text(), QStringLiteral("8"));

    // The template and the sheet with a section page per candidate, through the one write path.
    const QString tube = place(QStringLiteral("template.pdf"));
    ASSERT_TRUE(view->exportTemplatePdf(tube, flametube::Paper::A4));
    ASSERT_TRUE(view->exportSectionSvg(place(QStringLiteral("section.svg"))));
    ASSERT_TRUE(view->exportSectionPng(place(QStringLiteral("section.png"))));
    // A page for each candidate's section: one fewer with one candidate fewer.
    auto pages = [&] {
        const QString sheet = place(QStringLiteral("sheet.pdf"));
        EXPECT_TRUE(w.exportDesignSheet(sheet));
        QFile pdf(sheet);
        EXPECT_TRUE(pdf.open(QIODevice::ReadOnly));
        return pdf.readAll().count("/Type /Page\n");
    };
    const auto both = pages();
    w.candidates()->deleteCandidate(1);
    EXPECT_EQ(pages(), both - 1);
}

} // namespace
