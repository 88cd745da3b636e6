#include "combustor_view.hpp"

#include "drawing_painter.hpp"
#include "figures_text.hpp"
#include "message_box.hpp"
#include "number_text.hpp"
#include "save_path.hpp"
#include "svg_writer.hpp"

#include <QBuffer>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <cmath>

namespace flametube {

namespace {

// The section's preview: the section as it prints on landscape A4, scaled to the widget.
constexpr double kPreviewWidth = 297;
constexpr double kPreviewHeight = 210;
constexpr double kPngPixelsPerMm = 6; // about 150 dots an inch
constexpr double kKelvinOffset = 273.15;

class SectionPicture : public QWidget {
public:
    explicit SectionPicture(const CombustorView* view, QWidget* parent)
        : QWidget(parent), view_(view) {
        setMinimumHeight(160);
        setObjectName(QStringLiteral("sectionPicture"));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        const auto section = view_->currentSection(kPreviewWidth, kPreviewHeight);
        if (!section)
            return;
        painter.setRenderHint(QPainter::Antialiasing);
        const double scale = std::min(width() / kPreviewWidth, height() / kPreviewHeight);
        painter.translate((width() - kPreviewWidth * scale) / 2, 0);
        painter.scale(scale, scale);
        paintPage(painter, section->pages.front());
    }

private:
    const CombustorView* view_;
};

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

QString six(float value) {
    return q(fields::formatFloat(value));
}

// A figure of the cycle in the forms' units, shown in the explorer's.
QString shown(fields::Quantity quantity, fields::UnitSystem units, double formsValue,
              int decimals) {
    return q(fixed(fields::toDisplay(quantity, units, static_cast<float>(formsValue)), decimals)) +
           QStringLiteral(" ") + q(std::string(fields::unitText(quantity, units)));
}

} // namespace

CombustorView::CombustorView(Source source, Units units, QWidget* parent)
    : QWidget(parent), source_(std::move(source)), units_(std::move(units)) {
    setObjectName(QStringLiteral("combustorView"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    layout->addLayout(top);
    top->addWidget(new QLabel(tr("Candidate:"), this));
    candidate_ = new QComboBox(this);
    top->addWidget(candidate_, 1);
    top->addWidget(new QLabel(tr("Drills:"), this));
    series_ = new QComboBox(this);
    series_->addItems(
        {tr("The units' own"), tr("Metric, 0.1 mm steps"), tr("Inch, 1/64 in steps")});
    top->addWidget(series_);
    top->addWidget(new QLabel(tr("Paper:"), this));
    paper_ = new QComboBox(this);
    paper_->addItems({QStringLiteral("A4"), QStringLiteral("Letter")});
    top->addWidget(paper_);

    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    for (std::size_t r = 0; r < 3; ++r) {
        const int row = static_cast<int>(r);
        drillLabels_[r] = new QLabel(this);
        grid->addWidget(drillLabels_[r], row, 0);
        drills_[r] = new QLineEdit(this);
        drills_[r]->setObjectName(QStringLiteral("drill%1").arg(row));
        grid->addWidget(drills_[r], row, 1);
        grid->addWidget(new QLabel(tr("position (share of length):"), this), row, 2);
        positions_[r] = new QLineEdit(this);
        positions_[r]->setObjectName(QStringLiteral("position%1").arg(row));
        grid->addWidget(positions_[r], row, 3);
        connect(drills_[r], &QLineEdit::editingFinished, this, [this] { readBoxes(); });
        connect(positions_[r], &QLineEdit::editingFinished, this, [this] { readBoxes(); });
    }
    auto* buttons = new QVBoxLayout;
    grid->addLayout(buttons, 0, 4, 3, 1);
    const QString names[] = {tr("Template as PDF..."), tr("Section as SVG..."),
                             tr("Section as PNG...")};
    for (int kind = 0; kind < 3; ++kind) {
        auto* button = new QPushButton(names[kind], this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, kind] { exportAsked(kind); });
        buttons->addWidget(button);
    }

    text_ = new QTextBrowser(this);
    layout->addWidget(text_, 2);
    picture_ = new SectionPicture(this, this);
    layout->addWidget(picture_, 1);

    connect(candidate_, &QComboBox::currentIndexChanged, this, [this] { showCurrent(); });
    connect(series_, &QComboBox::currentIndexChanged, this, [this] { readBoxes(); });
    refresh();
}

DrillChoice CombustorView::choiceFor(const std::string& name) const {
    const auto found = choices_.find(name);
    if (found == choices_.end())
        return {};
    DrillChoice choice = found->second.second;
    if (found->second.first != units_())
        choice.drills.reset(); // typed in the other units: the presets of these
    return choice;
}

void CombustorView::refresh() {
    candidates_ = source_();
    const QString current = candidate_->currentText();
    {
        const QSignalBlocker block(candidate_);
        candidate_->clear();
        for (const auto& c : candidates_)
            candidate_->addItem(q(c.name));
        const int again = candidate_->findText(current);
        candidate_->setCurrentIndex(again >= 0 ? again : 0);
    }
    showCurrent();
}

std::optional<TubePlan> CombustorView::currentTube() const {
    const int i = candidate_->currentIndex();
    if (i < 0 || i >= static_cast<int>(candidates_.size()))
        return std::nullopt;
    const auto& c = candidates_[static_cast<std::size_t>(i)];
    if (!c.figures)
        return std::nullopt;
    return candidateTube(*c.figures, units_(), choiceFor(c.name));
}

void CombustorView::readBoxes() {
    const int i = candidate_->currentIndex();
    if (i < 0 || i >= static_cast<int>(candidates_.size()))
        return;
    DrillChoice choice = choiceFor(candidates_[static_cast<std::size_t>(i)].name);
    std::array<float, 3> drills{};
    bool allDrills = true;
    for (std::size_t r = 0; r < 3; ++r) {
        const auto drill = fields::parseFloat(drills_[r]->text().toStdString());
        allDrills = allDrills && drill && *drill > 0;
        drills[r] = drill.value_or(0);
        if (const auto at = fields::parseFloat(positions_[r]->text().toStdString());
            at && *at >= 0 && *at <= 1)
            choice.positions[r] = *at;
    }
    if (allDrills)
        choice.drills = drills;
    const int s = series_->currentIndex();
    choice.series = s == 1   ? std::optional(DrillSeries::Metric)
                    : s == 2 ? std::optional(DrillSeries::Inch)
                             : std::nullopt;
    choices_[candidates_[static_cast<std::size_t>(i)].name] = {units_(), choice};
    showCurrent();
}

void CombustorView::showCurrent() {
    const int i = candidate_->currentIndex();
    const auto units = units_();
    const auto plan = currentTube();
    if (!plan) {
        text_->setHtml(tr("<p>No flame tube: the candidate has no figures to size it from.</p>"));
        picture_->update();
        return;
    }
    const auto& name = candidates_[static_cast<std::size_t>(i)].name;
    const DrillChoice choice = choiceFor(name);
    {
        const QSignalBlocker block(series_);
        series_->setCurrentIndex(!choice.series                          ? 0
                                 : *choice.series == DrillSeries::Metric ? 1
                                                                         : 2);
    }
    const auto& w = plan->window;
    const std::array<float, 3> drills{w.m_PrimaryDrill, w.m_SecondaryDrill, w.m_TertiaryDrill};
    for (std::size_t r = 0; r < 3; ++r) {
        drillLabels_[r]->setText(
            tr("%1 drill (%2):")
                .arg(q(std::string(kRowNames[r])), q(std::string(unitText(plan->unitIndex)))));
        drills_[r]->setText(six(drills[r]));
        positions_[r]->setText(q(fields::formatFloat(static_cast<float>(plan->rows[r].position))));
    }
    const QString u = q(std::string(unitText(plan->unitIndex)));
    QString html =
        tr("<p><b>Flame tube</b> (as the Combustor window sizes it, in %1): inducer "
           "%2, length %3, diameter %4.</p>")
            .arg(u, six(w.m_InducerDiameter), six(w.m_TubeLength), six(w.m_TubeDiameter));
    html +=
        tr("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\"><tr><th>Row</th><th>Hole "
           "area, %1&sup2;</th><th>Holes of the drill asked</th><th>Whole holes</th><th>Drilled "
           "area, %1&sup2;</th><th>At, %1 from the inlet</th><th>Every, %1</th></tr>")
            .arg(u);
    const float asked[] = {w.m_PrimaryHoles, w.m_SecondaryHoles, w.m_TertiaryHoles};
    for (std::size_t r = 0; r < 3; ++r) {
        const auto& row = plan->rows[r];
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3 of %4</td>")
                    .arg(q(std::string(kRowNames[r])), q(fields::formatFloat(float(row.area))),
                         six(asked[r]), six(drills[r]));
        if (row.choice)
            html += QStringLiteral("<td>%1 x %2</td><td>%3 (%4%5 %)</td><td>%6 (%7 L)</td>"
                                   "<td>%8</td></tr>")
                        .arg(row.choice->holes)
                        .arg(q(row.choice->drillText),
                             q(fields::formatFloat(float(row.choice->drilledArea))),
                             row.choice->areaError >= 0 ? QStringLiteral("+") : QString(),
                             q(fixed(row.choice->areaError * 100, 1)),
                             q(fields::formatFloat(float(row.axial))), q(fixed(row.position, 3)),
                             q(fields::formatFloat(float(row.pitch))));
        else
            html += tr("<td colspan=\"4\">no drill of the series within 5 %</td></tr>");
    }
    html += QStringLiteral("</table>");

    const auto& figures = *candidates_[static_cast<std::size_t>(i)].figures;
    const CycleAir air = cycleAir(figures);
    html += tr("<p><b>Checks against the cycle</b> (not the window's figures): mass flow %1, "
               "P3 %2, T2 %3; discharge coefficient %4 of plain holes.</p>")
                .arg(shown(fields::Quantity::MassFlow, units, figures.massFlow, 3),
                     shown(fields::Quantity::Pressure, units,
                           double(figures.p2) + double(figures.ambientPressure), 2),
                     shown(fields::Quantity::Temperature, units, figures.compDischargeTemp, 0),
                     q(fixed(kDischargeCoefficient, 1)));
    if (const auto c = checkTube(*plan, air)) {
        const double lbPerKg = 1 / fields::kKilogramsPerPound;
        html += QStringLiteral("<ul>");
        for (std::size_t r = 0; r < 3; ++r)
            html += tr("<li>%1: %2 % of the air, %3%4</li>")
                        .arg(q(std::string(kRowNames[r])), q(fixed(c->rows[r].share * 100, 1)),
                             shown(fields::Quantity::MassFlow, units, c->rows[r].air * lbPerKg, 3),
                             air.fuelFlow ? tr(", fuel %1")
                                                .arg(shown(fields::Quantity::FuelFlow, units,
                                                           c->rows[r].fuel * lbPerKg * 3600, 2))
                                          : QString());
        html += tr("<li>through the holes %1; liner pressure drop %2 % of P3</li>")
                    .arg(shown(fields::Quantity::Velocity, units,
                               c->holeVelocity / fields::kMetresPerFoot, 0),
                         q(fixed(c->linerDropShare * 100, 1)));
        if (c->primaryEquivalence)
            html += tr("<li>primary zone with all the fuel: equivalence ratio %1</li>")
                        .arg(q(fixed(*c->primaryEquivalence, 2)));
        html += QStringLiteral("</ul>");
        for (const auto& flag : c->flags)
            html += QStringLiteral("<p style=\"color:#b00000\"><b>%1:</b> %2</p>")
                        .arg(q(flag.figure).toHtmlEscaped(), q(flag.reason).toHtmlEscaped());
    } else {
        html += tr("<p>No checks: the tube is not drillable or the cycle has no figures.</p>");
    }
    text_->setHtml(html);
    picture_->update();
}

std::optional<Drawing> CombustorView::currentSection(double widthMm, double heightMm) const {
    const auto plan = currentTube();
    const int i = candidate_->currentIndex();
    if (!plan || !plan->drillable())
        return std::nullopt;
    const auto& c = candidates_[static_cast<std::size_t>(i)];
    return drawSection(*plan, engineOutline(*c.figures), c.name, widthMm, heightMm);
}

std::vector<Drawing> CombustorView::sections(double widthMm, double heightMm) const {
    std::vector<Drawing> out;
    for (const auto& c : candidates_) {
        if (!c.figures)
            continue;
        const auto plan = candidateTube(*c.figures, units_(), choiceFor(c.name));
        if (plan.drillable())
            out.push_back(drawSection(plan, engineOutline(*c.figures), c.name, widthMm, heightMm));
    }
    return out;
}

namespace {

template <typename Write> bool writeThrough(QWidget* view, const QString& path, Write write) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!write(buffer)) {
        dialogs::showMessage(
            view, view->window()->windowTitle(),
            QObject::tr("%1 was not saved: the export could not be made.").arg(path));
        return false;
    }
    return dialogs::writeUserFile(view, path, bytes);
}

} // namespace

bool CombustorView::exportTemplatePdf(const QString& path, Paper paper) {
    const auto plan = currentTube();
    if (!plan || !plan->drillable()) {
        dialogs::showMessage(this, window()->windowTitle(),
                             tr("%1 was not saved: the candidate's tube cannot be drilled with "
                                "whole holes of the series.")
                                 .arg(path));
        return false;
    }
    const auto t = drawTemplate(*plan, paper, candidate_->currentText().toStdString());
    return writeThrough(this, path, [&](QIODevice& out) { return writePdf(&out, t.drawing); });
}

bool CombustorView::exportSectionSvg(const QString& path) {
    const auto section = currentSection(kPreviewWidth, kPreviewHeight);
    return writeThrough(this, path, [&](QIODevice& out) {
        if (!section)
            return false;
        const std::string text = svgText(*section);
        return out.write(text.data(), qint64(text.size())) == qint64(text.size());
    });
}

bool CombustorView::exportSectionPng(const QString& path) {
    const auto section = currentSection(kPreviewWidth, kPreviewHeight);
    return writeThrough(this, path, [&](QIODevice& out) {
        if (!section)
            return false;
        QImage image(
            QSize(int(kPreviewWidth * kPngPixelsPerMm), int(kPreviewHeight * kPngPixelsPerMm)),
            QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setDotsPerMeterX(int(kPngPixelsPerMm * 1000));
        image.setDotsPerMeterY(int(kPngPixelsPerMm * 1000));
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.scale(kPngPixelsPerMm, kPngPixelsPerMm);
            paintPage(painter, section->pages.front());
        }
        return image.save(&out, "PNG");
    });
}

void CombustorView::exportAsked(int kind) {
    struct Choice {
        QString caption, filter, suffix;
    };
    const Choice choices[] = {
        {tr("Export Drilling Template as PDF"), tr("PDF documents (*.pdf)"), QStringLiteral("pdf")},
        {tr("Export Section as SVG"), tr("SVG drawings (*.svg)"), QStringLiteral("svg")},
        {tr("Export Section as PNG"), tr("PNG pictures (*.png)"), QStringLiteral("png")},
    };
    const Choice& c = choices[kind];
    const QString path = dialogs::askSavePath(this, c.caption, QString(), c.filter, c.suffix);
    if (path.isEmpty())
        return;
    if (kind == 0)
        exportTemplatePdf(path, paper_->currentIndex() == 1 ? Paper::Letter : Paper::A4);
    else if (kind == 1)
        exportSectionSvg(path);
    else
        exportSectionPng(path);
}

} // namespace flametube
