#pragma once
// --map: where each point of cycle or engine sits on the turbocharger's compressor map. The
// calculation keeps its fields and gains the map's five (fields::kMapMatchingFields) after them.

#include "calculations.hpp"
#include "compressor_map.hpp"
#include "map_file.hpp"
#include "options.hpp"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace cli {

class MappedCalculation final : public Calculation {
public:
    explicit MappedCalculation(std::unique_ptr<Calculation> inner);
    // Borrows a calculation that outlives this one.
    explicit MappedCalculation(Calculation& inner);

    // The map for the points that follow; without one the map's figures are empty.
    void useMap(const compmap::CompressorMap* map) override {
        map_ = map;
        inner_->useMap(map);
    }
    const compmap::CompressorMap* map() const { return map_; }

    std::span<const Field> fields() const override { return fields_; }
    void start(int unitIndex) override { inner_->start(unitIndex); }
    void compute() override;
    int unitIndex() const override { return inner_->unitIndex(); }
    std::string_view unitName() const override { return inner_->unitName(); }
    void setChoice(std::size_t field, int index) override { inner_->setChoice(field, index); }
    int choice(std::size_t field) const override { return inner_->choice(field); }
    bool runsCycle() const override { return true; }
    std::optional<turbo::RangeProblem> rangeProblem() const override {
        return inner_->rangeProblem();
    }
    const point::Point* evaluated() const override { return inner_->evaluated(); }
    bool takeEfficiencyFrom(const compmap::CompressorMap* map) override {
        return inner_->takeEfficiencyFrom(map);
    }

private:
    std::unique_ptr<Calculation> owned_;
    Calculation* inner_;
    const compmap::CompressorMap* map_ = nullptr;
    std::vector<Field> fields_;
    std::vector<float*> slotList_;
    std::array<float, fields::kMapMatchingFields.size()> figures_{};
};

// Each map read once, however many rows name it. A map that cannot be read is a BadInput naming
// the map file, its line and column.
class MapLibrary {
public:
    explicit MapLibrary(compmap::ImportSettings settings) : settings_(settings) {}
    // A map a file's column names is read only if it is a regular file; the one named by
    // --map may be a pipe too.
    const compmap::CompressorMap& load(const std::filesystem::path& file, const std::string& where,
                                       userfile::Source source = userfile::Source::FileOnly);

private:
    compmap::ImportSettings settings_;
    std::map<std::filesystem::path, compmap::CompressorMap> maps_;
};

// --map-flow-unit, --map-ref-temp and --map-ref-pressure, for a digitizer's CSV.
compmap::ImportSettings mapImportSettings(const Arguments& args);

} // namespace cli
