#pragma once
// The candidate file: CSV as vorlaxen-calc reads it, numbers always in the forms' units, written
// so that they read back bit for bit (any NaN is written "nan" and reads back as that one NaN).
// The header names the columns: name, then the keys of the engine's inputs in the order of
// fields::kEngineFields (comp-outlet-diameter, ..., turbine-inlet-temp), then look.
// mass-flow-source is "typed" or "estimate"; mass-flow always holds the number the cycle uses (the
// wheel's estimate with "estimate"), so the file also runs through vorlaxen-calc cycle --input.
// look is the candidate's colour and line style on the chart, 1 to 20, so that a candidate looks
// the same after the file is opened again.
// Reading takes the columns in any order and their names and the words in any case; other
// columns are left out; a missing input takes the Turbo Analysis default, a missing name gives
// "Candidate N", a missing look is chosen when the candidates are shown. A missing
// mass-flow-source means "estimate" when the file gives a wheel size and no mass flow, and
// "typed" otherwise.

#include "candidates.hpp"
#include "curves.hpp"
#include "file_problem.hpp"

#include <cstddef>
#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace explorer {

// Why a file could not be read or written.
using FileError = text::FileProblem;

// Either the candidates read or why not: the caller's open work is never touched.
struct ReadResult {
    std::vector<Candidate> candidates;
    std::optional<FileError> error;
    std::vector<std::string> ignored; // columns the file has that candidates do not
};

ReadResult readCandidates(std::istream& in, std::string_view fileName);
ReadResult loadCandidates(const std::filesystem::path& file);

// The file's text. Every candidate must be computable (no bad cell): returns the problem
// otherwise and writes nothing.
std::optional<std::string> writeCandidates(std::ostream& out,
                                           std::span<const Candidate> candidates);

// Writes a temporary file beside the target, flushes it to the disk and renames it over the
// target, so that a crash or a full disk never leaves a half-written file: on any failure the old
// file is as it was and the error says why.
std::optional<FileError> saveCandidates(const std::filesystem::path& file,
                                        std::span<const Candidate> candidates);

// The curves' points as CSV: the columns of vorlaxen-calc cycle --sweep ... --csv with a name
// column first (and the swept input after it when it is a wheel size, which the cycle does not
// read), one line per candidate and point, in the forms' units whatever the request's units.
// Candidates with a bad cell are left out. Returns why nothing was written when the sweep itself
// is refused. A candidate whose efficiency comes from its map (efficiencyMaps, by candidate,
// where given) has the map's efficiency in its lines, and no line where the map has none.
std::optional<std::string>
writeCurveCsv(std::ostream& out, std::span<const Candidate> candidates, const CurveRequest& request,
              std::span<const compmap::CompressorMap* const> efficiencyMaps = {});

} // namespace explorer
