#include "map_panel.hpp"

#include "digitizer_import_dialog.hpp"
#include "looks.hpp"
#include "map_view.hpp"
#include "message_box.hpp"
#include "qt_text.hpp"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QTabBar>

#include <sstream>

namespace explorer {

namespace {

// The demonstration map travels inside the program; its tab has no file.
const std::filesystem::path kDemo;
const QString kDemoFolder = QStringLiteral(":/maps");

} // namespace

MapPanel::MapPanel(CandidateTable* model, QWidget* curves, std::function<CurveRequest()> request,
                   QWidget* parent)
    : QTabWidget(parent), model_(model), request_(std::move(request)) {
    setObjectName(QStringLiteral("mapTabs"));
    addTab(curves, tr("Curves"));
    setTabsClosable(true);
    tabBar()->setTabButton(0, QTabBar::RightSide, nullptr); // the curves stay
    connect(this, &QTabWidget::tabCloseRequested, this, [this](int index) {
        if (index == 0)
            return;
        QWidget* page = widget(index);
        std::erase_if(views_, [page](const auto& v) { return v.second == page; });
        removeTab(index);
        page->deleteLater();
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
    QAction* save = menu->addAction(tr("&Save Map"), this, [this] { saveCurrent(); });
    save->setObjectName(QStringLiteral("saveMap"));
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
    if (!file.empty())
        connect(v, &compmap::MapView::mapChanged, this,
                [this, v, file] { model_->setMap(file, v->map()); });
    return v;
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

compmap::MapView* MapPanel::openFile(const std::filesystem::path& file) {
    if (auto* v = view(file)) {
        setCurrentWidget(v);
        return v;
    }
    // A digitizer's export carries no unit or reference: the user says them.
    compmap::ImportSettings settings;
    if (QFileInfo(toQString(file.string()))
            .suffix()
            .compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0) {
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
    // The candidates that name this file see it as it was read here.
    model_->setMap(file.lexically_normal(), *read.map);
    refresh();
    return v;
}

void MapPanel::refresh() {
    // A tab for each map a candidate names and can be read.
    const auto& candidates = model_->candidateList();
    for (int row = 0; row < static_cast<int>(candidates.size()); ++row)
        if (const auto* entry = model_->mapOf(row); entry && entry->map && !view(entry->file)) {
            const int keep = currentIndex();
            addView(entry->file, toQString(entry->file.filename().string()))
                ->setMap(*entry->map, toQString(entry->file.parent_path().string()));
            setCurrentIndex(keep);
        }
    // Swept as the curves are: the workspace holds the request they were drawn with.
    const Workspace& work = model_->workspace();
    for (const auto& [file, v] : views_) {
        std::vector<compmap::MapSeries> series;
        for (int row = 0; row < static_cast<int>(candidates.size()); ++row) {
            const Candidate& c = candidates[std::size_t(row)];
            // The demonstration map shows the candidates that have no map of their own.
            const auto* entry = model_->mapOf(row);
            if (file.empty() ? entry != nullptr : !entry || entry->file != file)
                continue;
            compmap::MapSeries s{toQString(c.name), lookColour(model_->look(row)),
                                 work.sweepOn(std::size_t(row), v->map()), std::nullopt};
            if (const auto at = work.matchOn(std::size_t(row), v->map()))
                s.design = compmap::MapPoint{at->correctedFlow, at->pressureRatio};
            series.push_back(std::move(s));
        }
        v->setSeries(std::move(series));
    }
}

std::vector<SheetMap> MapPanel::sheetMaps() const {
    std::vector<SheetMap> out;
    for (const auto& [file, v] : views_)
        if (!v->series().empty())
            out.push_back({tabText(indexOf(v)), v->map(), v->picture(), v->series()});
    return out;
}

void MapPanel::saveCurrent() {
    auto* v = qobject_cast<compmap::MapView*>(currentWidget());
    if (!v)
        return;
    std::filesystem::path file;
    for (const auto& [path, view] : views_)
        if (view == v)
            file = path;
    QString target = toQString(file.string());
    if (file.empty()) { // the demonstration map: saved as a copy to start from
        // The suffix is added before the dialog asks about overwriting.
        QFileDialog dialog(this, tr("Save the map as"), toQString(model_->folder().string()),
                           tr("Compressor maps (*.vxmap)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("vxmap"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return;
        target = dialog.selectedFiles().constFirst();
    }
    QString problem;
    if (!v->saveMap(target, &problem))
        dialogs::showMessage(this, tr("Compressor map"), problem);
}

} // namespace explorer
