#include "operating_text.hpp"

#include "qt_text.hpp"

#include <QStringList>

namespace explorer {

QString limitsText(const turbo::LimitExcess& excess, fields::UnitSystem units) {
    QStringList parts;
    for (const auto& info : turbo::limitInfos()) {
        if (!excess.exceeds(info.limit))
            continue;
        const float by = fields::toDisplay(info.quantity, units, excess[info.limit]);
        const auto unit = fields::unitText(info.quantity, units);
        QString part = toQString(info.name) + QStringLiteral(" +") + figureText(by);
        if (!unit.empty())
            part += QLatin1Char(' ') + toQString(unit);
        parts << part;
    }
    return parts.join(QStringLiteral("; "));
}

} // namespace explorer
