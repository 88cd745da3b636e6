#include "fit_command_output.hpp"

#include "csv_field.hpp"
#include "number_text.hpp"
#include "output.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace cli {

namespace {

// Numbers as the other calculations write them: shortest exact text, or --digits.
class Numbers {
public:
    explicit Numbers(int digits) : digits_(digits) {}
    std::string operator()(double v) const {
        char buffer[kMaxNumberText];
        const auto f = static_cast<float>(v);
        return {buffer, digits_ == 0 ? writeShortest(buffer, f) : writeDigits(buffer, f, digits_)};
    }

private:
    int digits_;
};

std::string padded(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

std::string jsonText(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            out += '\\';
        if (u < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[u >> 4];
            out += kHex[u & 15];
            continue;
        }
        out += c;
    }
    return out + "\"";
}

std::string csvText(std::string_view text) {
    if (!csv::needsQuotes(text))
        return std::string(text);
    std::string out = "\"";
    for (const char c : text)
        out.append(c == '"' ? "\"\"" : std::string(1, c));
    return out + "\"";
}

std::string_view keyOf(runs::Measured m) {
    return runs::measuredInfo(m).key;
}

std::string_view keyOf(runs::Assumption a) {
    return runs::assumptionInfo(a).key;
}

std::string_view unitOf(fields::Quantity q) {
    return fields::unitText(q, fields::UnitSystem::Forms);
}

double rmsOf(const std::vector<runs::Comparison>& comparisons) {
    double sum = 0;
    for (const auto& c : comparisons)
        sum += c.residual * c.residual;
    return comparisons.empty() ? NAN : std::sqrt(sum / double(comparisons.size()));
}

void writeComparisons(std::ostream& out, const std::vector<runs::Comparison>& comparisons,
                      const std::vector<runs::Skipped>& skipped, const Numbers& number) {
    out << padded("Line", 6) << padded("Quantity", 12) << padded("P2", 10) << padded("Measured", 12)
        << padded("Predicted", 12) << padded("Unit", 10) << padded("Ratio", 12) << "Error (%)\n";
    for (const auto& c : comparisons) {
        const auto& info = runs::measuredInfo(c.measured);
        out << padded(std::to_string(c.line), 6) << padded(std::string(info.key), 12)
            << padded(number(c.p2), 10) << padded(number(c.value), 12)
            << padded(number(c.predicted), 12) << padded(std::string(unitOf(info.quantity)), 10)
            << padded(number(c.ratio), 12) << number(c.residual * 100) << '\n';
    }
    for (const auto& s : skipped)
        out << "Skipped line " << s.line << ": " << s.reason << '\n';
}

} // namespace

void writeFitTable(std::ostream& out, const FitReport& report, int digits) {
    const auto& r = report.fit;
    // For people: six significant digits unless --digits says otherwise, errors in percent.
    const auto number = [&](double v) {
        return digits != 0 ? Numbers(digits)(v) : fields::formatFloat(static_cast<float>(v));
    };
    const Numbers shown(digits == 0 ? 6 : digits);
    out << "Fitted to " << report.log.file << ": " << report.log.points.size() << " points, "
        << r.comparisons.size() << " measured values, " << r.iterations << " iterations"
        << (r.starts > 1 ? " (best of " + std::to_string(r.starts) + " starts)" : "")
        << (r.converged ? "" : " (stopped at the limit, not converged)") << "\n\n";
    std::size_t width = 22;
    for (const auto& v : r.values)
        width = std::max(width, runs::assumptionInfo(v.assumption).label.size() + 2);
    out << padded("", width) << padded("Start", 14) << padded("Fitted", 14)
        << padded("Standard error", 16) << "Unit\n";
    for (const auto& v : r.values) {
        const auto& info = runs::assumptionInfo(v.assumption);
        out << padded(std::string(info.label), width) << padded(number(v.start), 14)
            << padded(number(v.fitted), 14)
            << padded(std::isfinite(v.stdError) ? number(v.stdError) : std::string("-"), 16)
            << unitOf(info.quantity) << '\n';
    }
    out << padded("Error, rms (%)", width) << padded(number(r.rmsBefore * 100), 14)
        << number(r.rms * 100) << '\n'
        << padded("Degrees of freedom", width) << r.dof << '\n'
        << padded("Reduced chi-square", width)
        << (r.dof > 0 ? number(r.reducedChiSquare) : std::string("-"))
        << " (of the relative errors)\n";
    if (r.values.size() > 1) {
        out << '\n' << padded("Correlation", width);
        for (std::size_t j = 0; j < r.values.size(); ++j)
            out << (j + 1 < r.values.size() ? padded(std::string(keyOf(r.values[j].assumption)), 24)
                                            : std::string(keyOf(r.values[j].assumption)));
        out << '\n';
        for (std::size_t i = 0; i < r.values.size(); ++i) {
            out << padded(std::string(keyOf(r.values[i].assumption)), width);
            for (std::size_t j = 0; j < r.values.size(); ++j)
                out << (j + 1 < r.values.size() ? padded(shown(r.correlationOf(i, j)), 24)
                                                : shown(r.correlationOf(i, j)));
            out << '\n';
        }
    }
    out << '\n';
    writeComparisons(out, r.comparisons, r.skipped, Numbers(digits == 0 ? 6 : digits));
    if (report.heldOut) {
        out << "\nHeld against " << report.other->file
            << " (points not used in the fit): " << report.heldOut->comparisons.size()
            << " measured values, error rms " << number(rmsOf(report.heldOut->comparisons) * 100)
            << " %\n\n";
        writeComparisons(out, report.heldOut->comparisons, report.heldOut->skipped,
                         Numbers(digits == 0 ? 6 : digits));
    }
    for (const auto& w : r.warnings)
        out << "\nNote: " << w << '\n';
}

// One table with a kind column: assumption, correlation, point, held-out, skipped,
// held-out-skipped, overall, warning.
void writeFitCsv(std::ostream& out, const FitReport& report, int digits) {
    const auto& r = report.fit;
    const Numbers number(digits);
    out << "kind,key,with,line,start,fitted,std-error,measured,predicted,ratio,residual,p2,value,"
           "note\n";
    for (const auto& v : r.values)
        out << "assumption," << keyOf(v.assumption) << ",,," << number(v.start) << ','
            << number(v.fitted) << ',' << number(v.stdError) << ",,,,,,,\n";
    for (std::size_t i = 0; i < r.values.size(); ++i)
        for (std::size_t j = i + 1; j < r.values.size(); ++j)
            out << "correlation," << keyOf(r.values[i].assumption) << ','
                << keyOf(r.values[j].assumption) << ",,,,,,,,,," << number(r.correlationOf(i, j))
                << ",\n";
    const auto points = [&](std::string_view kind, const std::vector<runs::Comparison>& list) {
        for (const auto& c : list)
            out << kind << ',' << keyOf(c.measured) << ",," << c.line << ",,,," << number(c.value)
                << ',' << number(c.predicted) << ',' << number(c.ratio) << ',' << number(c.residual)
                << ',' << number(c.p2) << ",,\n";
    };
    const auto skipped = [&](std::string_view kind, const std::vector<runs::Skipped>& list) {
        for (const auto& s : list)
            out << kind << ",,," << s.line << ",,,,,,,,,," << csvText(s.reason) << '\n';
    };
    points("point", r.comparisons);
    skipped("skipped", r.skipped);
    if (report.heldOut) {
        points("held-out", report.heldOut->comparisons);
        skipped("held-out-skipped", report.heldOut->skipped);
    }
    out << "overall,rms,,," << number(r.rmsBefore) << ',' << number(r.rms) << ",,,,,,,,\n";
    out << "overall,dof,,,,,,,,,,," << r.dof << ",\n";
    out << "overall,reduced-chi-square,,,,,,,,,,," << number(r.reducedChiSquare) << ",\n";
    if (report.heldOut)
        out << "overall,held-out-rms,,,,,,,,,,," << number(rmsOf(report.heldOut->comparisons))
            << ",\n";
    for (const auto& w : r.warnings)
        out << "warning,,,,,,,,,,,,," << csvText(w) << '\n';
}

void writeFitJson(std::ostream& out, const FitReport& report, int digits) {
    const auto& r = report.fit;
    const Numbers number(digits);
    const auto n = [&](double v) { return std::isfinite(v) ? number(v) : std::string("null"); };
    const auto points = [&](const std::vector<runs::Comparison>& list) {
        out << '[';
        for (std::size_t i = 0; i < list.size(); ++i) {
            const auto& c = list[i];
            out << (i ? "," : "") << "{\"line\":" << c.line
                << ",\"quantity\":" << jsonText(keyOf(c.measured)) << ",\"p2\":" << n(c.p2)
                << ",\"measured\":" << n(c.value) << ",\"predicted\":" << n(c.predicted)
                << ",\"ratio\":" << n(c.ratio) << ",\"residual\":" << n(c.residual) << '}';
        }
        out << ']';
    };
    const auto skipped = [&](const std::vector<runs::Skipped>& list) {
        out << '[';
        for (std::size_t i = 0; i < list.size(); ++i)
            out << (i ? "," : "") << "{\"line\":" << list[i].line
                << ",\"reason\":" << jsonText(list[i].reason) << '}';
        out << ']';
    };
    out << "{\"log\":" << jsonText(report.log.file) << ",\"iterations\":" << r.iterations
        << ",\"starts\":" << r.starts << ",\"converged\":" << (r.converged ? "true" : "false")
        << ",\"assumptions\":{";
    for (std::size_t i = 0; i < r.values.size(); ++i)
        out << (i ? "," : "") << jsonText(keyOf(r.values[i].assumption))
            << ":{\"start\":" << n(r.values[i].start) << ",\"fitted\":" << n(r.values[i].fitted)
            << ",\"std_error\":" << n(r.values[i].stdError) << '}';
    out << "},\"correlation\":[";
    for (std::size_t i = 0; i < r.values.size(); ++i) {
        out << (i ? ",[" : "[");
        for (std::size_t j = 0; j < r.values.size(); ++j)
            out << (j ? "," : "") << n(r.correlationOf(i, j));
        out << ']';
    }
    out << "],\"dof\":" << r.dof << ",\"chi_square\":" << n(r.chiSquare)
        << ",\"reduced_chi_square\":" << n(r.reducedChiSquare)
        << ",\"rms_before\":" << n(r.rmsBefore) << ",\"rms\":" << n(r.rms) << ",\"points\":";
    points(r.comparisons);
    out << ",\"skipped\":";
    skipped(r.skipped);
    out << ",\"warnings\":[";
    for (std::size_t i = 0; i < r.warnings.size(); ++i)
        out << (i ? "," : "") << jsonText(r.warnings[i]);
    out << ']';
    if (report.heldOut) {
        out << ",\"held_out\":{\"log\":" << jsonText(report.other->file)
            << ",\"rms\":" << n(rmsOf(report.heldOut->comparisons)) << ",\"points\":";
        points(report.heldOut->comparisons);
        out << ",\"skipped\":";
        skipped(report.heldOut->skipped);
        out << '}';
    }
    out << "}\n";
}

} // namespace cli
