#include "map_matching.hpp"

#include "evaluate_point.hpp"

#include "messages.hpp"
#include "number_text.hpp"
#include "options.hpp"

#include <cmath>
#include <limits>

namespace cli {

MappedCalculation::MappedCalculation(std::unique_ptr<Calculation> inner)
    : MappedCalculation(*inner) {
    owned_ = std::move(inner);
}

MappedCalculation::MappedCalculation(Calculation& inner) : inner_(&inner) {
    const auto innerFields = inner.fields();
    fields_.assign(innerFields.begin(), innerFields.end());
    fields_.insert(fields_.end(), fields::kMapMatchingFields.begin(),
                   fields::kMapMatchingFields.end());
    for (std::size_t i = 0; i < innerFields.size(); ++i)
        slotList_.push_back(inner.slot(i));
    for (float& figure : figures_)
        slotList_.push_back(&figure);
    slots_ = slotList_;
}

void MappedCalculation::compute() {
    inner_->compute();
    constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
    figures_.fill(kNone);
    const auto* point = inner_->evaluated();
    if (!point || !point->onMap)
        return;
    const auto& f = *point->onMap;
    figures_ = {f.correctedFlow, f.pressureRatio, f.surgeMargin.value_or(kNone),
                f.efficiency.value_or(kNone), f.speed.value_or(kNone)};
}

const compmap::CompressorMap& MapLibrary::load(const std::filesystem::path& file,
                                               const std::string& where, userfile::Source source) {
    if (const auto known = maps_.find(file); known != maps_.end())
        return known->second;
    auto read = compmap::loadMap(file, settings_, source);
    if (read.error)
        throw BadInput(where + ": " + read.error->text());
    return maps_.emplace(file, std::move(*read.map)).first->second;
}

compmap::ImportSettings mapImportSettings(const Arguments& args) {
    compmap::ImportSettings settings;
    if (const auto& unit = args.values("map-flow-unit"); !unit.empty()) {
        const auto parsed = compmap::flowUnitFromText(unit.front());
        if (!parsed)
            throw BadInput("--map-flow-unit: " + shown(unit.front()) +
                           " is not a flow unit; the units are lb/min and kg/s");
        settings.flowUnit = *parsed;
    }
    const auto positive = [&](const char* option, float& value) {
        const auto& given = args.values(option);
        if (given.empty())
            return;
        const auto parsed = fields::parseFloat(given.front());
        if (!parsed)
            throw BadInput("--" + std::string(option) + ": " + numberProblem(given.front()));
        if (!(*parsed > 0) || !std::isfinite(*parsed))
            throw BadInput("--" + std::string(option) + ": " + shown(given.front()) +
                           " must be a number above zero");
        value = *parsed;
    };
    positive("map-ref-temp", settings.referenceTemperature);
    positive("map-ref-pressure", settings.referencePressure);
    return settings;
}

} // namespace cli
