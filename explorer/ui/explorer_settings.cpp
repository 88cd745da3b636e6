#include "explorer_settings.hpp"

#include "candidates.hpp"
#include "qt_text.hpp"

#include <QSettings>
#include <QStringList>

namespace explorer {

namespace {

struct Entry {
    Setting setting;
    QString key;
    QVariant fallback;
};

const std::vector<Entry>& entries() {
    static const std::vector<Entry> table = {
        {Setting::Units, QStringLiteral("units"), QStringLiteral("forms")},
        {Setting::SweptInput, QStringLiteral("sweep/input"),
         toQString(turbo::engineField(EngineInput::P2).key)},
        {Setting::SweepFrom, QStringLiteral("sweep/from"), QString()},
        {Setting::SweepTo, QStringLiteral("sweep/to"), QString()},
        {Setting::SweepStep, QStringLiteral("sweep/step"), QString()},
        {Setting::PlottedResults, QStringLiteral("plot/results"),
         QStringList{QStringLiteral("thrust")}},
        {Setting::RecentFiles, QStringLiteral("files/recent"), QStringList()},
        {Setting::WindowGeometry, QStringLiteral("window/geometry"), QByteArray()},
    };
    return table;
}

const Entry& entry(Setting setting) {
    const Entry& e = entries()[static_cast<std::size_t>(setting)];
    Q_ASSERT(e.setting == setting); // the table is in the order of the enumeration
    return e;
}

QSettings store() {
    return QSettings(QStringLiteral("Vorlaxen Designer"), QStringLiteral("Design Explorer"));
}

} // namespace

QVariant readSetting(Setting setting) {
    const Entry& e = entry(setting);
    return store().value(e.key, e.fallback);
}

QVariant settingDefault(Setting setting) {
    return entry(setting).fallback;
}

void writeSetting(Setting setting, const QVariant& value) {
    store().setValue(entry(setting).key, value);
}

} // namespace explorer
