#include "candidate.hpp"
#include "drawing_painter.hpp"
#include "template.hpp"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double kMmPerPoint = 25.4 / 72;

// What a page of the PDF draws, read back from its content stream in millimetres from the page's
// top left: straight segments and the centres of closed four-curve paths (circles).
struct PdfPage {
    std::vector<std::array<double, 4>> segments;
    std::vector<std::array<double, 2>> centres;
};

using Matrix = std::array<double, 6>; // a b c d e f, as PDF's cm

Matrix times(const Matrix& m, const Matrix& n) { // m then n
    return {m[0] * n[0] + m[1] * n[2],        m[0] * n[1] + m[1] * n[3],
            m[2] * n[0] + m[3] * n[2],        m[2] * n[1] + m[3] * n[3],
            m[4] * n[0] + m[5] * n[2] + n[4], m[4] * n[1] + m[5] * n[3] + n[5]};
}

PdfPage readContent(const QByteArray& content, double pageHeightMm) {
    PdfPage page;
    std::istringstream in(content.toStdString());
    std::vector<double> numbers;
    std::vector<Matrix> stack;
    Matrix ctm{1, 0, 0, 1, 0, 0};
    std::vector<std::array<double, 2>> path; // m, then the ends of l and c
    int curves = 0;
    auto point = [&](double x, double y) {
        const double px = ctm[0] * x + ctm[2] * y + ctm[4];
        const double py = ctm[1] * x + ctm[3] * y + ctm[5];
        return std::array<double, 2>{px * kMmPerPoint, pageHeightMm - py * kMmPerPoint};
    };
    std::string word;
    while (in >> word) {
        char* end = nullptr;
        const double v = std::strtod(word.c_str(), &end);
        if (end && *end == '\0' && !word.empty()) {
            numbers.push_back(v);
            continue;
        }
        const auto n = numbers.size();
        if (word == "q") {
            stack.push_back(ctm);
        } else if (word == "Q" && !stack.empty()) {
            ctm = stack.back();
            stack.pop_back();
        } else if (word == "cm" && n >= 6) {
            ctm = times({numbers[n - 6], numbers[n - 5], numbers[n - 4], numbers[n - 3],
                         numbers[n - 2], numbers[n - 1]},
                        ctm);
        } else if (word == "m" && n >= 2) {
            path = {point(numbers[n - 2], numbers[n - 1])};
            curves = 0;
        } else if (word == "l" && n >= 2 && !path.empty()) {
            const auto b = point(numbers[n - 2], numbers[n - 1]);
            page.segments.push_back({path.back()[0], path.back()[1], b[0], b[1]});
            path.push_back(b);
        } else if (word == "c" && n >= 6 && !path.empty()) {
            path.push_back(point(numbers[n - 2], numbers[n - 1]));
            ++curves;
            if (curves == 4 && path.size() == 5) // a circle: opposite ends of its diameter
                page.centres.push_back(
                    {(path[0][0] + path[2][0]) / 2, (path[0][1] + path[2][1]) / 2});
        }
        numbers.clear();
    }
    return page;
}

// The pages' content streams, inflated, in the order the PDF holds them.
std::vector<QByteArray> contentStreams(const QByteArray& pdf) {
    std::vector<QByteArray> out;
    qsizetype at = 0;
    for (;;) {
        const qsizetype start = pdf.indexOf("stream\n", at);
        if (start < 0)
            break;
        const qsizetype dataStart = start + 7;
        const qsizetype end = pdf.indexOf("endstream", dataStart);
        QByteArray data = pdf.mid(dataStart, end - dataStart);
        const qsizetype dict = pdf.lastIndexOf("<<", start);
        if (pdf.mid(dict, start - dict).contains("FlateDecode")) {
            QByteArray sized(4, '\0');
            const quint32 hint = static_cast<quint32>(data.size() * 50 + 1024);
            for (int i = 0; i < 4; ++i)
                sized[i] = static_cast<char>((hint >> (24 - 8 * i)) & 0xFF);
            data = qUncompress(sized + data);
        }
        if (data.contains(" cm") || data.contains(" re"))
            out.push_back(data);
        at = end + 9; // past "endstream", which ends in "stream" too
    }
    return out;
}

TEST(DrillingTemplatePdf, ScaleBarsAndHolesMeasureExactly) {
    struct Case {
        fields::UnitSystem units;
        float inducer;
        flametube::Paper paper;
    };
    const Case cases[] = {
        {fields::UnitSystem::Metric, 20, flametube::Paper::A4},      // one page
        {fields::UnitSystem::Metric, 57, flametube::Paper::A4},      // several
        {fields::UnitSystem::Forms, 3.0f, flametube::Paper::Letter}, // several, inches
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inducer);
        flametube::CandidateFigures figures;
        figures.inducerDiameter = fields::fromDisplay(fields::Quantity::Length, c.units, c.inducer);
        const auto plan = flametube::candidateTube(figures, c.units);
        ASSERT_TRUE(plan.drillable());
        const auto t = flametube::drawTemplate(plan, c.paper, "Test");
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(flametube::writePdf(&buffer, t.drawing));
        if (const char* dump = std::getenv("VX_TEMPLATE_DUMP")) {
            QFile file(QString::fromLocal8Bit(dump) + QString::number(c.inducer) +
                       QStringLiteral(".pdf"));
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
        }
        const auto streams = contentStreams(bytes);
        ASSERT_EQ(streams.size(), t.drawing.pages.size());
        const double pageHeight = flametube::paperSize(c.paper).height;
        std::size_t holesSeen = 0;
        for (std::size_t p = 0; p < streams.size(); ++p) {
            const auto page = readContent(streams[p], pageHeight);
            bool metric = false, inch = false;
            for (const auto& s : page.segments) {
                if (std::abs(s[1] - s[3]) > 0.01)
                    continue;
                const double length = std::abs(s[2] - s[0]);
                metric = metric || std::abs(length - 100) <= 0.1;
                inch = inch || std::abs(length - 101.6) <= 0.1;
            }
            EXPECT_TRUE(metric && inch) << "page " << p + 1;
            // Every hole of the sheet this tile shows, where the tile puts it.
            const auto& tile = t.tiles[p];
            const auto& clip = t.drawing.pages[p].clip;
            for (const auto& hole : t.holes) {
                const double x = hole.centre.x - tile.sheetOrigin.x + tile.pageOrigin.x;
                const double y = hole.centre.y - tile.sheetOrigin.y + tile.pageOrigin.y;
                if (x < clip.x || x > clip.x + clip.width || y < clip.y || y > clip.y + clip.height)
                    continue;
                bool found = false;
                for (const auto& centre : page.centres)
                    found = found || std::hypot(centre[0] - x, centre[1] - y) <= 0.1;
                EXPECT_TRUE(found) << "page " << p + 1 << " hole at " << x << ", " << y;
                ++holesSeen;
            }
        }
        EXPECT_GE(holesSeen, t.holes.size());
    }
}

} // namespace
