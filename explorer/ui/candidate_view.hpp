#pragma once
// The candidates' table view, its first column (the name) frozen at the left edge so that a row
// can be told whichever columns are scrolled into view.

#include <QTableView>

namespace explorer {

class CandidateView : public QTableView {
    Q_OBJECT

public:
    explicit CandidateView(QWidget* parent = nullptr);
    void setModel(QAbstractItemModel* model) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

private:
    void placeFrozen();

    QTableView* frozen_; // shows the name column over this view's own
};

} // namespace explorer
