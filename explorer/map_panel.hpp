#pragma once
// The candidates' compressor maps beside their curves: the curves in the first tab, then a tab
// per map file the candidates name, each showing every candidate that uses it. Tracing on a map
// changes the table's figures at once; Map > Save Map keeps it in its file. A map with edits not
// yet saved shows a star on its tab and is asked about before its tab or the window closes. A
// digitizer's CSV is never written over: its unit and reference, which it cannot hold, go with
// its lines into a new map file, which the candidates then name.

#include "candidate_table.hpp"
#include "curves.hpp"
#include "design_sheet.hpp"

#include <QTabWidget>

#include <filesystem>
#include <functional>
#include <map>
#include <set>

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
    ~MapPanel() override;

    // Map > Open Map, Save Map, Save Map As, Demonstration Map.
    void fillMenu(QMenu* menu);
    // Puts every candidate's points on its map, opening a tab for a map not yet shown.
    void refresh();

    // The tab of a map file (of the demonstration map for ""), nullptr when not open.
    compmap::MapView* view(const std::filesystem::path& file) const;
    compmap::MapView* openDemo();
    compmap::MapView* openFile(const std::filesystem::path& file);
    // The maps with candidates on them, for the design sheet.
    std::vector<SheetMap> sheetMaps() const;

    // True while a map differs from what its file holds (a digitizer's CSV until it is saved as
    // a map file, since the CSV cannot hold its unit and reference).
    bool isModified() const;
    bool isModified(const compmap::MapView* v) const;
    // Asks Save / Discard / Cancel for each changed map; false when the user cancels or a save
    // fails.
    bool maySetAside();
    std::vector<compmap::MapView*> openViews() const;
    // After other candidates were opened (and maySetAside): closes, unasked, those of `before`
    // (the tabs open until then) that no candidate names or whose changes were discarded; these
    // open again as their files hold them.
    void closeStale(const std::vector<compmap::MapView*>& before);
    // Saves a map's tab: into its own map file, or into a new one (`as`, the demonstration map,
    // a digitizer's CSV). False when cancelled or not written.
    bool save(compmap::MapView* v, bool as);

signals:
    void modifiedChanged();

private:
    compmap::MapView* addView(const std::filesystem::path& file, const QString& title);
    std::filesystem::path fileOf(const compmap::MapView* v) const;
    void closeView(compmap::MapView* v);
    void updateTab(compmap::MapView* v);
    // Asks about one changed map; false on Cancel or a failed save.
    bool maySetAside(compmap::MapView* v);
    // A digitizer's export found through the candidates: its unit and reference are asked.
    compmap::MapView* addDigitizerView(const MapLibrary::Entry& entry);

    CandidateTable* model_;
    std::function<CurveRequest()> request_;
    std::map<std::filesystem::path, compmap::MapView*> views_;
    std::set<const compmap::MapView*> digitized_; // read from a digitizer's CSV, not saved since
    bool refreshing_ = false;
};

} // namespace explorer
