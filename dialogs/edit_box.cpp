#include "edit_box.hpp"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionFrame>

#include <charconv>
#include <optional>

namespace dialogs {

namespace {

const QChar kEllipsis(0x2026);

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// A number as the program writes it ("-1.19707e+10", "0.000123457", "77282.7"): its sign, its
// significant digits and the decimal exponent of the first of them.
struct NumberParts {
    bool negative = false;
    QString digits;
    int exponent = 0;
};

std::optional<NumberParts> split(const QString& text) {
    NumberParts parts;
    qsizetype at = 0;
    if (at < text.size() && text[at] == QLatin1Char('-')) {
        parts.negative = true;
        ++at;
    }
    int beforePoint = 0;
    int zerosAfterPoint = 0; // leading zeros after the point, before the first significant digit
    bool seenPoint = false;
    bool seenDigit = false;
    for (; at < text.size() && (isDigit(text[at]) || text[at] == QLatin1Char('.')); ++at) {
        if (text[at] == QLatin1Char('.')) {
            if (seenPoint)
                return std::nullopt;
            seenPoint = true;
            continue;
        }
        seenDigit = true;
        if (parts.digits.isEmpty() && text[at] == QLatin1Char('0')) {
            if (seenPoint)
                ++zerosAfterPoint;
            continue;
        }
        parts.digits += text[at];
        if (!seenPoint)
            ++beforePoint;
    }
    if (!seenDigit)
        return std::nullopt;
    int exponent = 0;
    if (at < text.size()) {
        if (text[at] != QLatin1Char('e') || at + 1 >= text.size())
            return std::nullopt;
        const std::string rest = text.mid(at + 1).toStdString();
        const char* first = rest.data() + (rest.front() == '+' ? 1 : 0);
        const auto result = std::from_chars(first, rest.data() + rest.size(), exponent);
        if (result.ec != std::errc() || result.ptr != rest.data() + rest.size())
            return std::nullopt;
    }
    parts.exponent = exponent + (beforePoint > 0 ? beforePoint - 1 : -zerosAfterPoint - 1);
    return parts;
}

// "e+05", "e-12", "e+100": at least two digits, as the program writes exponents.
QString exponentText(int exponent) {
    char buffer[16];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, exponent < 0 ? -exponent : exponent);
    QString digits = QString::fromLatin1(buffer, result.ptr - buffer);
    if (digits.size() < 2)
        digits.prepend(QLatin1Char('0'));
    return QString(QLatin1Char(exponent < 0 ? '-' : '+')).prepend(QLatin1Char('e')) + digits;
}

} // namespace

QString fitNumberText(const QString& full, const std::function<bool(const QString&)>& fits) {
    if (fits(full))
        return full;
    const auto parts = split(full);
    if (!parts || parts->digits.isEmpty()) // "nan", "inf", zero: nothing to shorten
        return fits(full) ? full : QString(kEllipsis);
    const QString sign = parts->negative ? QStringLiteral("-") : QString();
    const QString exponent = exponentText(parts->exponent);
    // Every digit in scientific form first ("123457" as "1.23457e+05"), then fewer and fewer
    // digits, each time with the ellipsis that says some were left out.
    const qsizetype all = parts->digits.size();
    for (qsizetype count = all; count >= 1; --count) {
        QString mantissa = parts->digits.left(1);
        if (count > 1)
            mantissa += QLatin1Char('.') + parts->digits.mid(1, count - 1);
        const QString candidate =
            sign + mantissa + (count < all ? QString(kEllipsis) : QString()) + exponent;
        if (fits(candidate))
            return candidate;
    }
    // Not even one digit fits: the order of magnitude is still true.
    if (const QString magnitude = sign + kEllipsis + exponent; fits(magnitude))
        return magnitude;
    return QString(kEllipsis);
}

EditBox::EditBox(QWidget* parent) : QLineEdit(parent) {}

void EditBox::showNumber(const QString& text) {
    written_ = text;
    display(text);
    refit(); // with the focus too: the whole text would be cut at the box's edge
}

QString EditBox::numberText() const {
    return showsWritten() && !written_.isNull() ? written_ : text();
}

void EditBox::display(const QString& text) {
    shown_ = text;
    setText(text); // also marks the box unedited
    setCursorPosition(0);
    setToolTip(text == written_ ? QString() : written_);
}

void EditBox::refit() {
    if (written_.isNull() || !showsWritten())
        return;
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, this)
                               .marginsRemoved(textMargins());
    // The box keeps two pixels clear at either side of its text.
    const int room = contents.width() - 4;
    const QFontMetrics metrics(font());
    display(fitNumberText(
        written_, [&](const QString& text) { return metrics.horizontalAdvance(text) <= room; }));
}

bool EditBox::shortened() const {
    return !written_.isNull() && showsWritten() && shown_ != written_;
}

void EditBox::keyPressEvent(QKeyEvent* event) {
    // Copying a shortened number copies the whole one, which reads back as the same number.
    if (event == QKeySequence::Copy && shortened()) {
        QGuiApplication::clipboard()->setText(written_);
        return;
    }
    // The whole text comes in only when the user starts to change it; until then the short form
    // shows, and the tooltip has the whole.
    const bool changes = !event->text().isEmpty() || event->key() == Qt::Key_Backspace ||
                         event->key() == Qt::Key_Delete || event == QKeySequence::Paste ||
                         event == QKeySequence::Cut;
    if (changes && !isReadOnly() && shortened()) {
        const bool allSelected = hasSelectedText() && selectedText() == text();
        display(written_);
        if (allSelected)
            selectAll();
        else
            end(false);
    }
    QLineEdit::keyPressEvent(event);
}

void EditBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    if (shortened())
        if (QAction* copy = menu->findChild<QAction*>(QStringLiteral("edit-copy"))) {
            copy->disconnect();
            connect(copy, &QAction::triggered, this,
                    [this] { QGuiApplication::clipboard()->setText(written_); });
            copy->setEnabled(true);
        }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void EditBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        refit();
}

void EditBox::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    if (!hasFocus())
        refit();
}

} // namespace dialogs
