#include "template_builder.hpp"

#include "edit_box.hpp"
#include "resources.hpp"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

namespace dialogs {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

int mulDiv(int value, int numerator, int denominator) {
    // Rounded to nearest, halves away from zero, as dialog units are converted.
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

// A button caption broken into lines that fit its width, as a multi-line button shows it. Blanks
// take room on a line like letters do, so a caption padded with blanks breaks where its author
// meant it to; the blanks at either end of a line are not drawn.
QString wrapCaption(const QString& caption, const QFontMetrics& metrics, int width) {
    QStringList lines;
    QString line;
    bool lineHasWord = false;
    qsizetype at = 0;
    while (at < caption.size()) {
        qsizetype wordStart = at;
        while (wordStart < caption.size() && caption[wordStart] == QLatin1Char(' '))
            ++wordStart;
        if (wordStart == caption.size())
            break;
        qsizetype wordEnd = caption.indexOf(QLatin1Char(' '), wordStart);
        if (wordEnd < 0)
            wordEnd = caption.size();
        const QString word = caption.mid(wordStart, wordEnd - wordStart);
        const QString candidate = line + caption.mid(at, wordStart - at) + word;
        if (lineHasWord && metrics.horizontalAdvance(candidate) > width) {
            lines << line.trimmed();
            line = word;
        } else {
            line = candidate;
        }
        lineHasWord = true;
        at = wordEnd;
    }
    if (lineHasWord)
        lines << line.trimmed();
    return lines.join(QLatin1Char('\n'));
}

// A drop-down list that shows when it has the focus, as a box does: the style draws no sign of it
// on a list that has nothing selected, and a window may open with the focus there.
class ListBox : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent* event) override {
        QComboBox::paintEvent(event);
        if (!hasFocus())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 2, 2);
    }
};

Qt::Alignment textAlignment(const ControlSpec& entry) {
    const Qt::Alignment horizontal = entry.alignRight    ? Qt::AlignRight
                                     : entry.alignCenter ? Qt::AlignHCenter
                                                         : Qt::AlignLeft;
    return horizontal | Qt::AlignTop;
}

// Read-only boxes look like the window behind them, as the user expects of a result.
void greyWhenReadOnly(QWidget* box) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    box->setPalette(palette);
}

QWidget* makeControl(QDialog& dialog, const ControlSpec& entry, const QRect& rect,
                     const std::function<void(int)>& onCommand) {
    const QString caption = qs(entry.caption);
    switch (entry.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(caption, &dialog);
        label->setWordWrap(true);
        label->setAlignment(textAlignment(entry));
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case ControlKind::Edit: {
        if (entry.multiline) {
            auto* box = new QPlainTextEdit(&dialog);
            box->setReadOnly(entry.readOnly);
            box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            box->setVerticalScrollBarPolicy(entry.verticalScroll ? Qt::ScrollBarAlwaysOn
                                                                 : Qt::ScrollBarAsNeeded);
            box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            if (entry.readOnly)
                greyWhenReadOnly(box);
            return box;
        }
        auto* box = new EditBox(&dialog);
        box->setReadOnly(entry.readOnly);
        box->setAlignment(entry.alignRight ? Qt::AlignRight : Qt::AlignLeft);
        if (entry.readOnly)
            greyWhenReadOnly(box);
        return box;
    }
    case ControlKind::Button:
    case ControlKind::DefButton: {
        auto* button = new QPushButton(&dialog);
        button->setText(entry.multiline
                            ? wrapCaption(caption, QFontMetrics(dialog.font()), rect.width() - 8)
                            : caption);
        button->setFlat(entry.flat);
        button->setDefault(entry.kind == ControlKind::DefButton);
        if (entry.id > 0)
            QObject::connect(button, &QPushButton::clicked, &dialog,
                             [onCommand, id = entry.id] { onCommand(id); });
        return button;
    }
    case ControlKind::Group: {
        // The frame line runs through the middle of the caption, as group frames are drawn.
        auto* group = new QGroupBox(caption, &dialog);
        group->setStyleSheet(QStringLiteral(
            "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.5em; }"
            "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
            " left: 6px; padding: 0 2px; }"));
        return group;
    }
    case ControlKind::List: {
        auto* list = new ListBox(&dialog);
        list->setEditable(false);
        for (const auto& item : entry.items)
            list->addItem(qs(item));
        list->setCurrentIndex(-1);
        return list;
    }
    case ControlKind::Picture: {
        auto* picture = new QLabel(&dialog);
        picture->setPixmap(renderBitmap(entry.resource, rect.size(), dialog.devicePixelRatioF()));
        return picture;
    }
    case ControlKind::Icon: {
        // An icon keeps its own 32 pixel size wherever it is placed.
        auto* icon = new QLabel(&dialog);
        icon->setPixmap(iconPixmap(entry.resource, 32, dialog.devicePixelRatioF()));
        return icon;
    }
    case ControlKind::Rule: {
        auto* rule = new QFrame(&dialog);
        rule->setFrameShape(QFrame::HLine);
        rule->setFrameShadow(QFrame::Sunken);
        return rule;
    }
    }
    return nullptr;
}

} // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width of the letters, rounded, as dialog base units are measured.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = (letters / 26 + 1) / 2;
    baseY_ = metrics.height();
}

int DialogUnits::x(int units) const {
    return mulDiv(units, baseX_, 4);
}
int DialogUnits::y(int units) const {
    return mulDiv(units, baseY_, 8);
}

QRect DialogUnits::toPixels(const DialogRect& rect) const {
    return {x(rect.x), y(rect.y), x(rect.width), y(rect.height)};
}

QFont programFont(int points) {
    // One family on every machine, so that every window lays out as it was drawn and tested
    // whatever else is installed. Liberation Sans (Debian's fonts-liberation2) has the widths of
    // the sans-serif the layouts were drawn for.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(points);
    return font;
}

QFont dialogFont(const DialogTemplate& dialog) {
    // The template names the face it was drawn for; its size is what is taken from it.
    return programFont(dialog.fontPoints);
}

BuiltDialog buildDialog(QDialog& dialog, const DialogTemplate& tmpl,
                        const std::function<void(int)>& onCommand) {
    BuiltDialog built;
    dialog.setWindowTitle(qs(tmpl.title));
    dialog.setFont(dialogFont(tmpl));
    const DialogUnits units(dialog.font());

    if (tmpl.menuId != 0) {
        auto* bar = new QMenuBar(&dialog);
        const MenuTemplate menu =
            parseMenuTemplate(resourceText(QStringLiteral("menus"), tmpl.menuId).toStdString());
        for (const auto& popupSpec : menu.popups) {
            QMenu* popup = bar->addMenu(qs(popupSpec.text));
            popup->setFont(dialog.font()); // a drop-down is a window of its own, not a child
            for (const auto& item : popupSpec.items) {
                if (item.separator) {
                    popup->addSeparator();
                    continue;
                }
                QAction* action = popup->addAction(qs(item.text));
                action->setData(item.id);
                QObject::connect(action, &QAction::triggered, &dialog,
                                 [onCommand, id = item.id] { onCommand(id); });
            }
        }
        built.menuHeight = bar->sizeHint().height();
        bar->setGeometry(0, 0, units.x(tmpl.width), built.menuHeight);
    }

    for (const auto& entry : tmpl.controls) {
        QRect rect = units.toPixels(entry.rect);
        rect.translate(0, built.menuHeight);
        QWidget* control = makeControl(dialog, entry, rect, onCommand);
        if (entry.kind == ControlKind::Icon)
            rect.setSize(QSize(32, 32));
        if (entry.kind == ControlKind::List) // the rectangle's height includes the dropped list
            rect.setHeight(control->sizeHint().height());
        control->setGeometry(rect);
        if (entry.id > 0) {
            control->setObjectName(QStringLiteral("control%1").arg(entry.id));
            built.controls.emplace(entry.id, control);
        }
    }
    dialog.setFixedSize(units.x(tmpl.width), units.y(tmpl.height) + built.menuHeight);
    return built;
}

} // namespace dialogs
