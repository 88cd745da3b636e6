#pragma once
// What vorlaxen-calc fit writes: the fitted assumptions with their standard errors and
// correlations, every measured value beside the model's, what was skipped and why, the notes, and
// with --predict the fitted engine held against another run log, as a table, CSV or JSON.

#include "fit.hpp"

#include <optional>
#include <ostream>

namespace cli {

struct FitReport {
    const runs::RunLog& log;
    const runs::FitResult& fit;
    const runs::RunLog* other = nullptr; // --predict
    std::optional<runs::Held> heldOut;   // the fitted engine at the other log's points
};

// Digits as --digits: 0 for the shortest exact text.
void writeFitTable(std::ostream& out, const FitReport& report, int digits);
void writeFitCsv(std::ostream& out, const FitReport& report, int digits);
void writeFitJson(std::ostream& out, const FitReport& report, int digits);

} // namespace cli
