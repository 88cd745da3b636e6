#pragma once
// The explorer's "Combustor" view: each candidate's flame tube in the explorer's units, its drills
// settable per candidate, the whole holes and checks against the cycle, the section to scale, and
// the drilling template and section as files. It knows the candidates only through the function
// it is given, so it does not depend on how the explorer keeps them.

#include "candidate.hpp"
#include "template.hpp"

#include <QWidget>

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QTextBrowser;

namespace flametube {

class CombustorView : public QWidget {
    Q_OBJECT

public:
    using Source = std::function<std::vector<NamedFigures>()>;
    using Units = std::function<fields::UnitSystem()>;
    CombustorView(Source source, Units units, QWidget* parent = nullptr);

    // Reads the candidates again (after any edit of theirs or of the units).
    void refresh();

    // The chosen candidate's tube as the view shows it; nothing without a drillable one.
    std::optional<TubePlan> currentTube() const;
    // Every drillable candidate's section on pages of this size in mm, for the design sheet.
    std::vector<Drawing> sections(double widthMm, double heightMm) const;
    // The chosen candidate's section on a page of this size; nothing without a drillable tube.
    std::optional<Drawing> currentSection(double widthMm, double heightMm) const;

    // Exports, each through the one safe way of writing; false after telling the user why.
    bool exportTemplatePdf(const QString& path, Paper paper);
    bool exportSectionSvg(const QString& path);
    bool exportSectionPng(const QString& path);

    QComboBox* candidateBox() const { return candidate_; }
    QComboBox* seriesBox() const { return series_; }
    QLineEdit* drillBox(std::size_t row) const { return drills_[row]; }
    QLineEdit* positionBox(std::size_t row) const { return positions_[row]; }
    QTextBrowser* figuresText() const { return text_; }

private:
    DrillChoice choiceFor(const std::string& name) const;
    void showCurrent();
    void readBoxes();
    void exportAsked(int kind);

    Source source_;
    Units units_;
    std::vector<NamedFigures> candidates_;
    // Each candidate's drills by name, while the explorer is open; in the units they were typed.
    std::map<std::string, std::pair<fields::UnitSystem, DrillChoice>> choices_;
    QComboBox* candidate_ = nullptr;
    QComboBox* series_ = nullptr;
    QComboBox* paper_ = nullptr;
    std::array<QLabel*, 3> drillLabels_{};
    std::array<QLineEdit*, 3> drills_{};
    std::array<QLineEdit*, 3> positions_{};
    QTextBrowser* text_ = nullptr;
    QWidget* picture_ = nullptr;
};

} // namespace flametube
