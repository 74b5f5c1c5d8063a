#include "ui/page_control.h"

#include <QPainter>
#include <QScrollArea>
#include <QShortcut>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace qinghe::ui {

PageControl::PageControl(const QStringList& headers, QSize layoutSize, QWidget* parent)
    : QWidget(parent), headers_(new QTabBar(this)) {
    headers_->setDrawBase(false);
    headers_->setExpanding(false);
    for (const QString& header : headers) {
        headers_->addTab(header);
        // A frameless, see-through scroll area that only ever shows scroll
        // bars when the page control is smaller than laid out.
        auto* scroller = new QScrollArea(this);
        scroller->setFrameShape(QFrame::NoFrame);
        scroller->setFocusPolicy(Qt::NoFocus);
        scroller->viewport()->setAutoFillBackground(false);
        auto* page = new QWidget;
        page->setFixedSize(layoutSize - QSize(0, kPageTop));
        scroller->setWidget(page);
        page->setAutoFillBackground(false);
        scroller->hide();
        pages_.push_back(scroller);
    }
    made_.assign(pages_.size(), false);
    resize(layoutSize);
    showPage(0);
    connect(headers_, &QTabBar::currentChanged, this, [this](int index) {
        showPage(index);
        emit pageChanged();
    });
    connect(new QShortcut(QKeySequence::NextChild, this), &QShortcut::activated, this,
            [this] { turnPage(1); });
    connect(new QShortcut(QKeySequence::PreviousChild, this), &QShortcut::activated, this,
            [this] { turnPage(-1); });
}

void PageControl::turnPage(int step) {
    setCurrentPage((currentPage() + step + pageCount()) % pageCount());
    headers_->setFocus(Qt::ShortcutFocusReason);
}

QWidget* PageControl::page(int index) const {
    return pages_.at(static_cast<std::size_t>(index))->widget();
}

int PageControl::currentPage() const {
    return headers_->currentIndex();
}

void PageControl::setCurrentPage(int index) {
    headers_->setCurrentIndex(index);
}

void PageControl::setHeaderFont(const QFont& font) {
    headers_->setFont(font);
}

void PageControl::place(int index, QWidget* control, const QRect& place) const {
    control->setParent(page(index));
    control->setGeometry(place.translated(0, -kPageTop));
}

void PageControl::setPageMaker(std::function<void(int index)> maker) {
    maker_ = std::move(maker);
    made_.assign(pages_.size(), false);
}

void PageControl::makePage(int index) {
    const auto i = static_cast<std::size_t>(index);
    if (!maker_ || made_.at(i)) return;
    made_[i] = true;
    maker_(index);
}

void PageControl::showPage(int index) {
    for (int i = 0; i < pageCount(); ++i) {
        if (i != index) pages_[static_cast<std::size_t>(i)]->hide();
    }
    if (index >= 0 && index < pageCount()) {
        makePage(index);
        QScrollArea* shown = pages_[static_cast<std::size_t>(index)];
        shown->show();
        shown->raise();
    }
}

void PageControl::resizeEvent(QResizeEvent*) {
    headers_->setGeometry(0, 0, width(), kPageTop);
    for (QScrollArea* p : pages_) p->setGeometry(0, kPageTop, width(), height() - kPageTop);
}

void PageControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, kPageTop - 1, width(), height() - kPageTop + 1);
    frame.shape = QTabBar::RoundedNorth;
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

}  // namespace qinghe::ui
