// Long figures in every number box of both tool windows. Whatever a box shows is the whole
// six-digit text or a shortened form that cannot be read as another number (same sign and
// exponent, leading digits only, an ellipsis where digits were left out, and no wider than the
// box); and a box left alone reads back exactly the float that was written.
#include "combustor_dialog.hpp"
#include "number_text.hpp"
#include "turbo_analysis_dialog.hpp"
#include "window_driver.hpp"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

using namespace window_test;

namespace {

const QChar kEllipsis(0x2026);

const std::vector<float> kLongValues = {
    1.19707e10f,   3.93701e29f,
    -3.40282e38f,  -1.17549e-38f,
    1.4013e-45f,   -0.000123457f,
    -123457.0f,    -1.0f / 3.0f,
    77282.7f,      -std::numeric_limits<float>::infinity(),
    std::nanf(""),
};

// A number's sign, its significant digits and the decimal exponent of the first of them.
struct Decimal {
    bool negative = false;
    QString digits;
    int exponent = 0;
};

std::optional<Decimal> decimalOf(const QString& text) {
    Decimal d;
    QString mantissa = text.section(QLatin1Char('e'), 0, 0);
    const QString exponent = text.section(QLatin1Char('e'), 1);
    if (mantissa.startsWith(QLatin1Char('-'))) {
        d.negative = true;
        mantissa.remove(0, 1);
    }
    const qsizetype point = mantissa.indexOf(QLatin1Char('.'));
    const qsizetype beforePoint = point < 0 ? mantissa.size() : point;
    mantissa.remove(QLatin1Char('.'));
    const qsizetype firstSignificant = mantissa.indexOf(QRegularExpression("[1-9]"));
    if (firstSignificant < 0)
        return std::nullopt;
    d.digits = mantissa.mid(firstSignificant);
    bool ok = true;
    d.exponent =
        int(beforePoint - firstSignificant - 1) + (exponent.isEmpty() ? 0 : exponent.toInt(&ok));
    if (!ok)
        return std::nullopt;
    return d;
}

void expectShownAsItself(QLineEdit* box, const QString& full) {
    const QString shown = box->text();
    SCOPED_TRACE((box->objectName() + ": " + full + " shown as " + shown).toStdString());
    // Fits where the style puts a line box's text, two pixels clear at either side.
    QStyleOptionFrame option;
    option.initFrom(box);
    const int room =
        box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box).width() - 4;
    EXPECT_LE(QFontMetrics(box->font()).horizontalAdvance(shown), room);
    if (shown == full)
        return;
    EXPECT_EQ(box->toolTip(), full);
    const auto whole = decimalOf(full);
    ASSERT_TRUE(whole);
    if (shown.startsWith(QString(whole->negative ? "-" : "") + kEllipsis + "e")) {
        EXPECT_EQ(shown.section('e', 1).toInt(), whole->exponent); // "…e+10": the magnitude only
        return;
    }
    const auto part = decimalOf(QString(shown).remove(kEllipsis));
    ASSERT_TRUE(part);
    EXPECT_EQ(part->negative, whole->negative);
    EXPECT_EQ(part->exponent, whole->exponent);
    EXPECT_TRUE(whole->digits.startsWith(part->digits));
    // Digits left out are marked; the whole figure in another form is not.
    EXPECT_EQ(shown.count(kEllipsis), part->digits.size() < whole->digits.size() ? 1 : 0);
}

std::uint32_t bits(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

QString formatted(float value) {
    return QString::fromStdString(fields::formatFloat(value));
}

TEST(LongNumbers, TurboAnalysisShowsEveryFigureAsItselfAndReadsItBackExactly) {
    for (const float value : kLongValues) {
        TurboAnalysisDialog dialog;
        runModal(dialog, [&] {
            std::array<float, 26> all;
            all.fill(value);
            static_cast<turbo::TurboFields&>(dialog) = std::bit_cast<turbo::TurboFields>(all);
            dialog.setFocus(); // out of every box, as after a click on a button
            dialog.UpdateData(CDialog::FALSE);
            for (auto* box : dialog.findChildren<QLineEdit*>())
                expectShownAsItself(box, formatted(value));
            dialog.UpdateData(CDialog::TRUE);
            for (const float read : std::bit_cast<std::array<float, 26>>(
                     static_cast<const turbo::TurboFields&>(dialog)))
                EXPECT_EQ(bits(read), bits(value)) << formatted(value).toStdString();
        });
    }
}

TEST(LongNumbers, CombustorShowsEveryFigureAsItselfAndReadsItBackExactly) {
    using F = combustor::CombustorFields;
    const std::vector<float F::*> numbers = {
        &F::m_InducerArea,    &F::m_TubeDiameter,   &F::m_TubeLength,       &F::m_PrimaryHoleArea,
        &F::m_PrimaryDrill,   &F::m_PrimaryHoles,   &F::m_InducerRadius,    &F::m_SecondaryHoleArea,
        &F::m_SecondaryDrill, &F::m_SecondaryHoles, &F::m_TertiaryHoleArea, &F::m_TertiaryDrill,
        &F::m_TertiaryHoles,  &F::m_InducerDiameter};
    for (const float value : kLongValues) {
        CombustorDialog dialog;
        runModal(dialog, [&] {
            for (const auto field : numbers)
                dialog.*field = value;
            dialog.setFocus();
            dialog.UpdateData(CDialog::FALSE);
            for (const auto& entry : dialog.dialogTemplate().controls)
                if (entry.kind == dialogs::ControlKind::Edit && entry.id != 1019 &&
                    (entry.id < 1022 || entry.id > 1024)) // not the unit texts
                    expectShownAsItself(qobject_cast<QLineEdit*>(dialog.GetDlgItem(entry.id)),
                                        formatted(value));
            for (const auto field : numbers)
                dialog.*field = 0.0f;
            dialog.UpdateData(CDialog::TRUE);
            for (const auto field : numbers)
                EXPECT_EQ(bits(dialog.*field), bits(value)) << formatted(value).toStdString();
        });
    }
}

// The cases that were reported: a huge inducer area, and the converter's inches. A box keeps its
// short form with the focus, whether it had the focus when written or got it after, and its
// tooltip and a copy give the whole number; in a box the user can edit, the whole text comes in
// when the user starts to change it.
TEST(LongNumbers, AResultTooLongForItsBoxIsShortenedNotCut) {
    CombustorDialog combustor;
    runModal(combustor, [&] {
        typeInto(combustor.GetDlgItem(1001), "-123456.7");
        click(combustor.GetDlgItem(1003));
        auto* area = qobject_cast<QLineEdit*>(combustor.GetDlgItem(1004));
        EXPECT_EQ(area->text(), QString("1.19%1e+10").arg(kEllipsis));
        area->setFocus();
        EXPECT_EQ(area->text(), QString("1.19%1e+10").arg(kEllipsis));
    });
    TurboAnalysisDialog turbo;
    runModal(turbo, [&] {
        auto* inches = qobject_cast<QLineEdit*>(turbo.GetDlgItem(1033));
        const QString shortForm = QString("3.9%1e+29").arg(kEllipsis);
        for (const bool focusedWhenWritten : {false, true}) {
            typeInto(turbo.GetDlgItem(1032), focusedWhenWritten ? "1e30" : "1.0e30");
            if (focusedWhenWritten)
                inches->setFocus();
            turbo.SendCommand(1035); // as the button does, without taking the focus
            ASSERT_EQ(inches->hasFocus(), focusedWhenWritten);
            inches->setFocus();
            EXPECT_EQ(inches->text(), shortForm) << focusedWhenWritten;
            EXPECT_EQ(inches->toolTip(), "3.93701e+29") << focusedWhenWritten;
            inches->selectAll();
            QTest::keyClick(inches, Qt::Key_C, Qt::ControlModifier);
            EXPECT_EQ(QGuiApplication::clipboard()->text(), "3.93701e+29");
        }
        QTest::keyClick(inches, Qt::Key_End);
        EXPECT_EQ(inches->text(), shortForm); // moving is not changing
        QTest::keyClick(inches, Qt::Key_Backspace);
        EXPECT_EQ(inches->text(), "3.93701e+2");
        turbo.GetDlgItem(1032)->setFocus();
    });
}

} // namespace
