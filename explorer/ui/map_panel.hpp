#pragma once
// The candidates' compressor maps beside their curves: the curves in the first tab, then a tab
// per map file the candidates name, each showing every candidate that uses it. Tracing on a map
// changes the table's figures at once; Map > Save Map keeps it in its file.

#include "candidate_table.hpp"
#include "curves.hpp"
#include "design_sheet.hpp"

#include <QTabWidget>

#include <filesystem>
#include <functional>
#include <map>

class QMenu;

namespace compmap {
class MapView;
}

namespace explorer {

class MapPanel : public QTabWidget {
    Q_OBJECT

public:
    MapPanel(CandidateTable* model, QWidget* curves, std::function<CurveRequest()> request,
             QWidget* parent = nullptr);

    // Map > Open Map, New Map from Picture, Save Map, Demonstration Map.
    void fillMenu(QMenu* menu);
    // Puts every candidate's points on its map, opening a tab for a map not yet shown.
    void refresh();

    // The tab of a map file (of the demonstration map for ""), nullptr when not open.
    compmap::MapView* view(const std::filesystem::path& file) const;
    compmap::MapView* openDemo();
    compmap::MapView* openFile(const std::filesystem::path& file);
    // The maps with candidates on them, for the design sheet.
    std::vector<SheetMap> sheetMaps() const;

private:
    compmap::MapView* addView(const std::filesystem::path& file, const QString& title);
    void saveCurrent();

    CandidateTable* model_;
    std::function<CurveRequest()> request_;
    std::map<std::filesystem::path, compmap::MapView*> views_;
};

} // namespace explorer
