#include "map_panel.hpp"

#include "digitizer_import_dialog.hpp"
#include "looks.hpp"
#include "map_view.hpp"
#include "message_box.hpp"
#include "qt_text.hpp"
#include "save_path.hpp"
#include "template_builder.hpp"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QTabBar>
#include <QUndoStack>

#include <sstream>

namespace explorer {

namespace {

// The demonstration map travels inside the program; its tab has no file.
const std::filesystem::path kDemo;
const QString kDemoFolder = QStringLiteral(":/maps");

bool isDigitizerExport(const std::filesystem::path& file) {
    return QFileInfo(toQString(file.string()))
               .suffix()
               .compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0;
}

// The name a candidate gives its map: relative to the candidates' folder when there is one.
std::string nameFrom(const std::filesystem::path& folder, const std::filesystem::path& file) {
    if (folder.empty())
        return file.string();
    const auto relative = file.lexically_relative(folder);
    return relative.empty() ? file.string() : relative.generic_string();
}

} // namespace

MapPanel::MapPanel(CandidateTable* model, QWidget* curves, std::function<CurveRequest()> request,
                   QWidget* parent)
    : QTabWidget(parent), model_(model), request_(std::move(request)) {
    setObjectName(QStringLiteral("mapTabs"));
    addTab(curves, tr("Curves"));
    setTabsClosable(true);
    tabBar()->setTabButton(0, QTabBar::RightSide, nullptr); // the curves stay
    connect(this, &QTabWidget::tabCloseRequested, this, [this](int index) {
        auto* v = qobject_cast<compmap::MapView*>(widget(index));
        if (!v || !maySetAside(v))
            return;
        closeView(v);
        // Discarded edits leave the table's figures too.
        model_->reloadMaps();
    });
}

void MapPanel::fillMenu(QMenu* menu) {
    QAction* open = menu->addAction(tr("&Open Map..."), this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, tr("Open a compressor map"),
                                                          toQString(model_->folder().string()),
                                                          tr("Compressor maps (*.vxmap *.csv)"));
        if (!file.isEmpty())
            openFile(file.toStdString());
    });
    open->setObjectName(QStringLiteral("openMap"));
    QAction* saveMap = menu->addAction(tr("&Save Map"), this, [this] {
        if (auto* v = qobject_cast<compmap::MapView*>(currentWidget()))
            save(v, false);
    });
    saveMap->setObjectName(QStringLiteral("saveMap"));
    QAction* saveMapAs = menu->addAction(tr("Save Map &As..."), this, [this] {
        if (auto* v = qobject_cast<compmap::MapView*>(currentWidget()))
            save(v, true);
    });
    saveMapAs->setObjectName(QStringLiteral("saveMapAs"));
    menu->addSeparator();
    QAction* demo = menu->addAction(tr("&Demonstration Map"), this, [this] { openDemo(); });
    demo->setObjectName(QStringLiteral("demoMap"));
}

compmap::MapView* MapPanel::view(const std::filesystem::path& file) const {
    const auto found = views_.find(file);
    return found == views_.end() ? nullptr : found->second;
}

compmap::MapView* MapPanel::addView(const std::filesystem::path& file, const QString& title) {
    auto* v = new compmap::MapView(this);
    views_[file] = v;
    setCurrentIndex(addTab(v, title));
    // Every edit reaches the table's figures; the demonstration map is no candidate's.
    connect(v, &compmap::MapView::mapChanged, this, [this, v] {
        if (const auto file = fileOf(v); !file.empty())
            model_->setMap(file, v->map());
    });
    connect(v->undoStack(), &QUndoStack::cleanChanged, this, [this, v] { updateTab(v); });
    return v;
}

std::filesystem::path MapPanel::fileOf(const compmap::MapView* v) const {
    for (const auto& [path, view] : views_)
        if (view == v)
            return path;
    return {};
}

void MapPanel::updateTab(compmap::MapView* v) {
    const auto file = fileOf(v);
    const QString name =
        file.empty() ? tr("Demonstration map") : toQString(file.filename().string());
    setTabText(indexOf(v), isModified(v) ? name + QLatin1Char('*') : name);
    emit modifiedChanged();
}

bool MapPanel::isModified(const compmap::MapView* v) const {
    return !v->undoStack()->isClean() || digitized_.contains(v);
}

bool MapPanel::isModified() const {
    return std::ranges::any_of(views_, [this](const auto& v) { return isModified(v.second); });
}

MapPanel::~MapPanel() {
    // A map's undo stack says it is clean as it is deleted, after this panel is gone.
    for (const auto& [file, v] : views_)
        v->undoStack()->disconnect(this);
}

void MapPanel::closeView(compmap::MapView* v) {
    v->undoStack()->disconnect(this);
    std::erase_if(views_, [v](const auto& entry) { return entry.second == v; });
    digitized_.erase(v);
    removeTab(indexOf(v));
    v->deleteLater();
    emit modifiedChanged();
}

std::vector<compmap::MapView*> MapPanel::openViews() const {
    std::vector<compmap::MapView*> out;
    for (const auto& [file, v] : views_)
        out.push_back(v);
    return out;
}

void MapPanel::closeStale(const std::vector<compmap::MapView*>& before) {
    std::set<std::filesystem::path> named;
    for (int row = 0; row < model_->rowCount(); ++row)
        if (const auto* entry = model_->mapOf(row))
            named.insert(entry->file);
    for (auto* v : before) {
        const auto file = fileOf(v);
        if (fileOf(v).empty() && view({}) != v)
            continue; // closed meanwhile
        if (isModified(v) || (!file.empty() && !named.contains(file)))
            closeView(v);
    }
    // The candidates read their maps afresh; those still in a tab are as the tab shows them.
    for (const auto& [file, v] : views_)
        if (!file.empty())
            model_->setMap(file, v->map());
    refresh();
}

bool MapPanel::maySetAside() {
    std::vector<compmap::MapView*> all;
    for (const auto& [file, v] : views_)
        all.push_back(v);
    return std::ranges::all_of(all, [this](compmap::MapView* v) { return maySetAside(v); });
}

bool MapPanel::maySetAside(compmap::MapView* v) {
    if (!isModified(v))
        return true;
    setCurrentWidget(v);
    const auto file = fileOf(v);
    const QString name =
        file.empty() ? tr("the demonstration map") : toQString(file.filename().string());
    const QString question =
        digitized_.contains(v)
            ? tr("%1 is a digitizer's export: it cannot keep the map's flow unit and reference "
                 "conditions. Save the map as a map file?")
                  .arg(name)
            : tr("Save the changes to the map %1 first?").arg(name);
    QMessageBox ask(QMessageBox::Question, tr("Compressor map"), question,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    ask.setDefaultButton(QMessageBox::Save);
    ask.setFont(dialogs::programFont());
    const int answer = ask.exec();
    if (answer == QMessageBox::Cancel)
        return false;
    return answer == QMessageBox::Discard || save(v, false);
}

compmap::MapView* MapPanel::openDemo() {
    if (auto* v = view(kDemo)) {
        setCurrentWidget(v);
        return v;
    }
    QFile file(kDemoFolder + QStringLiteral("/demo-compressor.vxmap"));
    file.open(QIODevice::ReadOnly);
    std::istringstream text(file.readAll().toStdString());
    const auto read = compmap::readMapText(text, "demo-compressor.vxmap");
    auto* v = addView(kDemo, tr("Demonstration map"));
    v->setMap(read.map.value_or(compmap::CompressorMap{}), kDemoFolder);
    refresh();
    return v;
}

compmap::MapView* MapPanel::openFile(const std::filesystem::path& given) {
    // Keyed as the candidates' maps are, so a map is never in two tabs.
    const std::filesystem::path file = std::filesystem::absolute(given).lexically_normal();
    if (auto* v = view(file)) {
        setCurrentWidget(v);
        return v;
    }
    // A digitizer's export carries no unit or reference: the user says them.
    compmap::ImportSettings settings;
    const bool digitized = isDigitizerExport(file);
    if (digitized) {
        DigitizerImportDialog ask(toQString(file.filename().string()), this);
        if (ask.exec() != QDialog::Accepted)
            return nullptr;
        settings = *ask.settings();
    }
    const auto read = compmap::loadMap(file, settings);
    if (read.error) {
        dialogs::showMessage(this, tr("Compressor map"), toQString(read.error->text()));
        return nullptr;
    }
    auto* v = addView(file, toQString(file.filename().string()));
    v->setMap(*read.map, toQString(file.parent_path().string()));
    if (digitized)
        digitized_.insert(v);
    updateTab(v);
    // The candidates that name this file see it as it was read here.
    model_->setMap(file, *read.map);
    refresh();
    return v;
}

compmap::MapView* MapPanel::addDigitizerView(const MapLibrary::Entry& entry) {
    compmap::ImportSettings settings;
    DigitizerImportDialog ask(toQString(entry.file.filename().string()), this);
    if (ask.exec() == QDialog::Accepted)
        settings = *ask.settings();
    // Cancelled, it stays as read (the dialog's defaults), still to be saved with them.
    auto read = compmap::loadMap(entry.file, settings);
    const compmap::CompressorMap map = read.map.value_or(*entry.map);
    auto* v = addView(entry.file, toQString(entry.file.filename().string()));
    v->setMap(map, toQString(entry.file.parent_path().string()));
    digitized_.insert(v);
    updateTab(v);
    model_->setMap(entry.file, map);
    return v;
}

void MapPanel::refresh() {
    // Asking a digitizer's unit changes the table, which refreshes again: once is enough.
    if (refreshing_)
        return;
    refreshing_ = true;
    // A tab for each map a candidate names and can be read.
    const auto& candidates = model_->candidateList();
    for (int row = 0; row < static_cast<int>(candidates.size()); ++row)
        if (const auto* entry = model_->mapOf(row); entry && entry->map && !view(entry->file)) {
            const int keep = currentIndex();
            if (isDigitizerExport(entry->file)) {
                const MapLibrary::Entry copy = *entry;
                addDigitizerView(copy);
            } else {
                addView(entry->file, toQString(entry->file.filename().string()))
                    ->setMap(*entry->map, toQString(entry->file.parent_path().string()));
            }
            setCurrentIndex(keep);
        }
    const CurveRequest request = request_();
    for (const auto& [file, v] : views_) {
        std::vector<compmap::MapSeries> series;
        for (int row = 0; row < static_cast<int>(candidates.size()); ++row) {
            const Candidate& c = candidates[std::size_t(row)];
            // The demonstration map shows the candidates that have no map of their own.
            const auto* entry = model_->mapOf(row);
            if (file.empty() ? entry != nullptr : !entry || entry->file != file)
                continue;
            compmap::MapSeries s{toQString(c.name), lookColour(model_->look(row)),
                                 sweepOnMap(c, v->map(), request), std::nullopt};
            if (const auto at = matchAtP2(c, v->map()))
                s.design = compmap::MapPoint{at->correctedFlow, at->pressureRatio};
            series.push_back(std::move(s));
        }
        v->setSeries(std::move(series));
    }
    refreshing_ = false;
}

std::vector<SheetMap> MapPanel::sheetMaps() const {
    std::vector<SheetMap> out;
    for (const auto& [file, v] : views_)
        if (!v->series().empty())
            out.push_back({tabText(indexOf(v)), v->map(), v->picture(), v->series()});
    return out;
}

bool MapPanel::save(compmap::MapView* v, bool as) {
    const std::filesystem::path file = fileOf(v);
    const bool digitized = digitized_.contains(v);
    QString target = toQString(file.string());
    if (as || file.empty() || digitized) {
        // A digitizer's CSV is offered a map file of its name beside it, never written over.
        QString start =
            file.empty() ? toQString((model_->folder() / "map.vxmap").string()) : target;
        if (digitized)
            start = toQString(std::filesystem::path(file).replace_extension(".vxmap").string());
        target = dialogs::askSavePath(this, tr("Save the map as"), start,
                                      tr("Compressor maps (*.vxmap)"), QStringLiteral("vxmap"));
        if (target.isEmpty())
            return false;
    }
    QString problem;
    // Map text in a .csv would make it neither a digitizer's export nor a map file.
    if (QFileInfo(target).suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0) {
        dialogs::showMessage(this, tr("Compressor map"),
                             tr("A map is saved as a .vxmap file; %1 was not changed.")
                                 .arg(QFileInfo(target).fileName()));
        return false;
    }
    if (!v->saveMap(target, &problem)) {
        dialogs::showMessage(this, tr("Compressor map"), problem);
        return false;
    }
    const std::filesystem::path saved =
        std::filesystem::path(target.toStdString()).lexically_normal();
    if (!file.empty() && saved != file) {
        // The tab is now the new file's; the candidates that named a digitizer's CSV name the
        // map file that keeps its unit and reference (an edit of theirs, undone as any other).
        refreshing_ = true; // the candidates are renamed below; no tab opens meanwhile
        views_.erase(file);
        views_[saved] = v;
        digitized_.erase(v);
        model_->setMap(saved, v->map());
        if (digitized) {
            const int column = model_->column("map");
            for (int row = 0; row < model_->rowCount(); ++row)
                if (const auto* entry = model_->mapOf(row); entry && entry->file == file)
                    model_->setData(model_->index(row, column),
                                    toQString(nameFrom(model_->folder(), saved)), Qt::EditRole);
        }
        refreshing_ = false;
    }
    v->undoStack()->setClean();
    updateTab(v);
    refresh();
    return true;
}

} // namespace explorer
