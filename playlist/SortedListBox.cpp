#include "playlist/SortedListBox.h"

#include "core/FocusFrame.h"

#include <QKeyEvent>
#include <QPainter>

SortedListBox::SortedListBox(QWidget* parent) : QListView(parent) {
    setModel(&model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every row is one line of the same font: lets the view lay out and
    // scroll 32767 rows without measuring each.
    setUniformItemSizes(true);
    connect(this, &QAbstractItemView::doubleClicked, this, &SortedListBox::entryChosen);
    connect(&model_, &QAbstractItemModel::rowsInserted, this, &SortedListBox::entriesChanged);
    connect(&model_, &QAbstractItemModel::rowsRemoved, this, &SortedListBox::entriesChanged);
    connect(&model_, &QAbstractItemModel::modelReset, this, &SortedListBox::entriesChanged);
}

int SortedListBox::selectedIndex() const {
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

void SortedListBox::select(int index) {
    if (index < 0) {
        selectionModel()->clearSelection();
        return;
    }
    model_.list().checkIndex(index);
    const QModelIndex row = model_.index(index);
    selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
    if (!hasFocus())
        putCurrentAside();
    scrollTo(row);
}

QString SortedListBox::selectedEntry() const {
    const int index = selectedIndex();
    return index < 0 ? QString() : model_.list().at(index);
}

int SortedListBox::count() const {
    return model_.list().count();
}

void SortedListBox::add(const QString& entry) {
    model_.add(entry);
}

void SortedListBox::addAll(const QStringList& entries) {
    model_.addAll(entries);
}

void SortedListBox::removeAt(int index) {
    model_.removeAt(index);
    // The row that moves up into the removed one's place must not become the
    // selection: a second press of the delete button would delete an entry the user never chose.
    selectionModel()->clearSelection();
}

// The current entry carries the focus frame even when nothing is selected
// (the list has just taken the focus, or an entry was deleted): Return plays
// the entry the user sees framed.
void SortedListBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        emit removalAsked();
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || !currentIndex().isValid()) {
        QListView::keyPressEvent(event);
        return;
    }
    selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
    emit entryChosen();
}

void SortedListBox::clear() {
    model_.clear();
}

// Qt's list tells screen readers that its current entry has the focus even
// while another control has it.
void SortedListBox::putCurrentAside() {
    currentAside_ = currentIndex();
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

// Back before the view's own handling, which makes the first entry current
// when there is none (the entry set aside was deleted, or the list emptied).
void SortedListBox::focusInEvent(QFocusEvent* event) {
    if (currentAside_.isValid())
        selectionModel()->setCurrentIndex(currentAside_, QItemSelectionModel::NoUpdate);
    currentAside_ = QPersistentModelIndex();
    QListView::focusInEvent(event);
}

void SortedListBox::focusOutEvent(QFocusEvent* event) {
    QListView::focusOutEvent(event);
    putCurrentAside();
}

void SortedListBox::paintEvent(QPaintEvent* event) {
    QListView::paintEvent(event);
    QPainter painter(viewport());
    FocusFrame::paint(painter, *this, viewport()->rect());
}

bool SortedListBox::event(QEvent* event) {
    const bool handled = QListView::event(event);
    if (event->type() == QEvent::Paint)
        paintFrameOnWholePixels();
    return handled;
}

// The style draws the frame with a pen one window pixel wide. At a scale
// between whole numbers (1.25, 1.5) the device pixels of its bottom line
// are those of the viewport's last row, which paints over them: the line
// was gone. Drawn on the window's pixel grid and laid over the list without
// smoothing, every pixel of the frame covers device pixels of its own,
// outside the viewport; on a whole-number scale it covers what the style
// drew.
void SortedListBox::paintFrameOnWholePixels() {
    QImage frame(size(), QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::transparent);
    QPainter onGrid(&frame);
    drawFrame(&onGrid);
    onGrid.end();
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), frame);
}
