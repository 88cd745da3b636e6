#pragma once
// The Design Explorer's work, without a window: the candidates in their order, each one's figures
// at its own inputs, the compressor maps and run logs they name, the folder their file is in, and
// their curves over the sweep asked for. The explorer's table is a view of it; the designer's
// command line writes the curves from it without any window.
//
// A change works out only the candidates it touches, and a candidate's curves are worked out when
// first asked for, so that ten thousand candidates open as fast as their file reads.

#include "candidate_maps.hpp"
#include "candidates.hpp"
#include "curves.hpp"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace explorer {

// A candidate's figures at its own inputs.
struct CandidatePoint {
    std::optional<point::Point> figures; // none with a bad cell, or for the reason in why
    std::optional<float> mapEfficiency;  // the compressor efficiency the cycle took from the map
    std::string why; // why there are no figures though every cell is a number; "" otherwise
    std::optional<compmap::MatchFigures> match; // its map's figures there, with a readable map
};

// What opening a file set aside, for the user to hear.
struct OpenNotes {
    std::vector<std::string> ignoredColumns; // columns that are not columns of candidates
    std::vector<std::string> unreadRunLogs;  // each run log that could not be read, and why
};

class Workspace {
public:
    // The two starting candidates, each with its look.
    Workspace();
    // These candidates, their map and run-log files named from `folder`.
    explicit Workspace(std::vector<Candidate> candidates, std::filesystem::path folder = {});

    std::size_t size() const { return candidates_.size(); }
    const std::vector<Candidate>& candidates() const { return candidates_; }
    const Candidate& candidate(std::size_t i) const { return candidates_.at(i); }
    const CandidatePoint& point(std::size_t i) const { return points_.at(i); }

    // Takes out `removed` candidates from `at` and puts `inserted` in their place; returns those
    // taken out, so that splicing them back undoes the change.
    std::vector<Candidate> splice(std::size_t at, std::size_t removed,
                                  std::vector<Candidate> inserted);
    // Every candidate anew, their files named from `folder`.
    void assign(std::vector<Candidate> candidates, std::filesystem::path folder);

    // The first look no candidate has (past twenty, the least used), and a name none has.
    int freeLook() const;
    std::string freeName() const;
    static void giveLooks(std::vector<Candidate>& candidates);

    // The folder the candidates' map and run-log files are named from: the open file's.
    const std::filesystem::path& folder() const { return folder_; }
    // Replaces every candidate by a file's, with their run logs; on failure nothing changes and
    // the text says why.
    std::optional<std::string> open(const std::filesystem::path& file, OpenNotes* notes = nullptr);
    // Candidates whose map and run-log files were named from `from`, named from this folder, so
    // that a step undone past a Save As into another folder still finds their files.
    std::vector<Candidate> namedHere(std::vector<Candidate> candidates,
                                     const std::filesystem::path& from) const;
    // Writes the candidates to `file`; saved into another folder, their files are named from
    // there, so that they are still found.
    std::optional<std::string> save(const std::filesystem::path& file);

    // A candidate's map (nullptr for none); read once, until reloaded.
    const MapLibrary::Entry* mapOf(std::size_t i) const;
    void reloadMaps();
    // A map as its view holds it now, in place of its file's.
    void putMap(const std::filesystem::path& file, const compmap::CompressorMap& map);
    // Each candidate's readable map (nullptr: none); its point is put on it, and takes its
    // efficiency from it when the candidate asks.
    std::vector<const compmap::CompressorMap*> candidateMaps() const;
    // A candidate on a map: its figures at its own P2, and its sweep point by point.
    std::optional<compmap::MatchFigures> matchOn(std::size_t i,
                                                 const compmap::CompressorMap& map) const;
    std::vector<compmap::MapPoint> sweepOn(std::size_t i, const compmap::CompressorMap& map) const;

    // The sweep and the results the curves are asked for; a new one drops every curve.
    void setRequest(const CurveRequest& request);
    const CurveRequest& request() const { return request_; }
    fields::SweepProblem sweepProblem() const { return sweepProblem_; }
    const std::vector<float>& sweepPoints() const { return x_; }
    // A candidate's curves over the sweep, worked out when first asked for.
    const CandidateCurves& curves(std::size_t i) const;
    // Where the candidate has no figure and why: at its own inputs, then along its curves.
    std::string gaps(std::size_t i) const;
    // The curves' points as CSV (see writeCurveCsv); why nothing was written when the sweep gives
    // no points.
    std::optional<std::string> writeCurves(std::ostream& out) const;

private:
    CandidatePoint work(const Candidate& candidate) const;
    void workAll();

    std::vector<Candidate> candidates_;
    std::vector<CandidatePoint> points_; // by candidate
    std::filesystem::path folder_;
    mutable MapLibrary maps_;
    CurveRequest request_;
    fields::SweepProblem sweepProblem_ = fields::SweepProblem::None;
    std::vector<float> x_;                                       // the sweep's points
    mutable std::vector<std::optional<CandidateCurves>> curves_; // by candidate, once asked for
};

} // namespace explorer
