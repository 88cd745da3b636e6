#include "chart_panels.hpp"

#include "candidate_columns.hpp"
#include "qt_text.hpp"
#include "run_markers.hpp"

#include <QCoreApplication>

#include <cmath>

namespace explorer {

using namespace table;

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("explorer::CandidateTable", text);
}

// Where the candidate itself sits on its curve: its own value of the swept input (the mass flow
// it used, when that is the wheel's estimate) and its result there, as its row shows them.
std::optional<QPointF> ownPoint(const Workspace& work, std::size_t c, std::size_t k) {
    const CurveRequest& request = work.request();
    const auto& r = work.point(c).figures;
    if (!r)
        return std::nullopt;
    const auto xField = turbo::engineField(request.swept);
    const float xForms = r->used[request.swept];
    const EngineResult result = request.results[k];
    const float x = fields::toDisplay(xField.quantity, request.units, xForms);
    const float y =
        fields::toDisplay(turbo::engineField(result).quantity, request.units, (*r)[result]);
    if (!std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    return QPointF(x, y);
}

} // namespace

QString titleWithUnit(const fields::Field& field, fields::UnitSystem units) {
    const auto unit = fields::unitText(field.quantity, units);
    const QString name = toQString(fields::displayName(field));
    return unit.empty() ? name : name + QStringLiteral(" (") + toQString(unit) + QLatin1Char(')');
}

QString sweepProblemText(fields::SweepProblem problem) {
    switch (problem) {
    case fields::SweepProblem::None:
        return {};
    case fields::SweepProblem::ZeroStep:
        return tr("The sweep's step is 0.");
    case fields::SweepProblem::AwayFromStop:
        return tr("The sweep's step goes away from \"to\".");
    case fields::SweepProblem::TooManyPoints:
        return tr("The sweep has more than %1 points; take a larger step.")
            .arg(groupedCount(kMaxCurvePoints));
    default:
        return tr("The sweep's numbers are out of range.");
    }
}

std::vector<ChartPanel> chartPanels(const Workspace& work, std::size_t most) {
    const CurveRequest& request = work.request();
    std::vector<ChartPanel> panels;
    panels.reserve(request.results.size());
    for (const EngineResult result : request.results)
        panels.push_back({titleWithUnit(turbo::engineField(result), request.units), {}});
    if (work.sweepProblem() != fields::SweepProblem::None)
        return panels;

    const auto& x = work.sweepPoints();
    for (std::size_t c = 0; c < std::min(work.size(), most); ++c) {
        const Candidate& candidate = work.candidate(c);
        const CandidateCurves& computed = work.curves(c);
        for (std::size_t k = 0; k < computed.results.size(); ++k) {
            const auto& y = computed.results[k].y;
            ChartCurve line{
                toQString(candidate.name), candidate.look, {}, ownPoint(work, c, k), {}, {}};
            if (const auto& log = candidate.runLog)
                for (const Marker& m : runMarkers(candidate, *log, request, request.results[k]))
                    line.markers.append(QPointF(m.x, m.y));
            for (const Run run : finiteRuns(y)) { // a gap where there is no figure, never a zero
                QList<QPointF> points;
                points.reserve(static_cast<qsizetype>(run.last - run.first));
                for (std::size_t i = run.first; i < run.last; ++i)
                    points.append(QPointF(x[i], y[i]));
                line.segments.push_back(std::move(points));
            }
            // Runs past a limit are shaded over the line.
            QList<QPointF> beyond;
            for (std::size_t i = 0; i <= y.size(); ++i) {
                if (i < y.size() && computed.beyondLimit[i] && std::isfinite(y[i])) {
                    beyond.append(QPointF(x[i], y[i]));
                } else if (!beyond.isEmpty()) {
                    line.beyond.push_back(beyond);
                    beyond.clear();
                }
            }
            panels[k].curves.push_back(std::move(line));
        }
    }
    return panels;
}

} // namespace explorer
