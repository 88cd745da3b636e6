#pragma once
// What the Design Explorer remembers from one session to the next. Each key is named once, with
// the value it has before anything was remembered; the window reads and writes only through here.

#include <QVariant>

namespace explorer {

enum class Setting {
    Units,          // "forms" or "metric"
    SweptInput,     // the key of the swept input
    SweepFrom,      // the sweep as its boxes showed it, in the units remembered with it
    SweepTo,        //
    SweepStep,      //
    PlottedResults, // keys of the results on the chart
    RecentFiles,    // absolute paths, newest first
    WindowGeometry, // the window's place, size and maximised state when it last closed
};

QVariant readSetting(Setting setting);
// The value a setting has when nothing, or nothing usable, was remembered.
QVariant settingDefault(Setting setting);
void writeSetting(Setting setting, const QVariant& value);

} // namespace explorer
