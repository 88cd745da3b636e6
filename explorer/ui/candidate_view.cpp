#include "candidate_view.hpp"

#include <QHeaderView>
#include <QScrollBar>

namespace explorer {

CandidateView::CandidateView(QWidget* parent) : QTableView(parent), frozen_(new QTableView(this)) {
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->verticalHeader()->hide();
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->setStyleSheet(QStringLiteral("QTableView { border-right: 1px solid palette(mid); }"));
    viewport()->stackUnder(frozen_);

    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
                if (section == 0) {
                    frozen_->setColumnWidth(0, size);
                    placeFrozen();
                }
            });
    connect(verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) { frozen_->setRowHeight(section, size); });
    connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(),
            &QAbstractSlider::setValue);
}

void CandidateView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    frozen_->setModel(model);
    frozen_->setSelectionModel(selectionModel());
    frozen_->setSelectionBehavior(QAbstractItemView::SelectRows);
    frozen_->setEditTriggers(QAbstractItemView::DoubleClicked);
    frozen_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    auto hideOthers = [this] {
        for (int column = 1; column < frozen_->model()->columnCount(); ++column)
            frozen_->setColumnHidden(column, true);
    };
    hideOthers();
    connect(model, &QAbstractItemModel::modelReset, this, hideOthers);
    frozen_->setColumnWidth(0, columnWidth(0));
    frozen_->show();
    placeFrozen();
}

void CandidateView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    placeFrozen();
}

void CandidateView::placeFrozen() {
    frozen_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    frozen_->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), columnWidth(0),
                         viewport()->height() + horizontalHeader()->height());
}

// Moving left past the frozen column scrolls the others back into view beside it.
QModelIndex CandidateView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex current = QTableView::moveCursor(action, modifiers);
    if (action == MoveLeft && current.column() > 0 &&
        visualRect(current).topLeft().x() < frozen_->columnWidth(0)) {
        const int shift = visualRect(current).topLeft().x() - frozen_->columnWidth(0);
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + shift);
    }
    return current;
}

void CandidateView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (index.column() > 0)
        QTableView::scrollTo(index, hint);
}

} // namespace explorer
