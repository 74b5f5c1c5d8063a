// A tabbed page control: a row of page headers across the top and one page
// shown below them at a time.
//
// Places of controls on a page are given relative to the page control
// itself, whose headers take its top kPageTop pixels, so the controls that
// fill a page start at y = kPageTop. A control on a page is shown only while
// its page is current.
//
// Each page is as large as the layout made the page control, less the
// headers. Made smaller than that (a window shrunk to fit a small screen),
// the page control keeps its pages whole and lets them scroll; Tab scrolls
// to the control it reaches.
//
// A page's controls may be made when it is first needed: the page maker is
// called once for each page, the first time that the page is about to be
// shown or that makePage asks for it, while the page is hidden.
//
// Ctrl+Tab shows the next page and Ctrl+Shift+Tab the one before (from the
// last to the first and back), from anywhere in the window, and puts the
// focus on the headers, from where Tab goes into the page.
#pragma once

#include <QRect>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

class QScrollArea;
class QTabBar;

namespace qinghe::ui {

class PageControl final : public QWidget {
    Q_OBJECT
  public:
    // Height of the header row, where the pages begin.
    static constexpr int kPageTop = 24;

    // `layoutSize`: the size that the layout gives the page control.
    PageControl(const QStringList& headers, QSize layoutSize, QWidget* parent);

    int pageCount() const { return static_cast<int>(pages_.size()); }
    // The current page, counted from 0.
    int currentPage() const;
    void setCurrentPage(int index);
    QWidget* page(int index) const;
    QTabBar* headers() const { return headers_; }

    void setHeaderFont(const QFont& font);

    // Puts `control` on page `index` at `place`, in the page control's pixels.
    void place(int index, QWidget* control, const QRect& place) const;

    // Sets what makes the controls of a page (see above); no page counts as
    // made before. Set it before the page control is shown.
    void setPageMaker(std::function<void(int index)> maker);
    // Makes page `index` now unless it is made.
    void makePage(int index);
    bool isMade(int index) const { return made_.at(static_cast<std::size_t>(index)); }

  signals:
    // Another page became current, after its controls were shown.
    void pageChanged();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void showPage(int index);
    void turnPage(int step);

    QTabBar* headers_;
    std::vector<QScrollArea*> pages_;  // each holding its page
    std::function<void(int)> maker_;
    std::vector<bool> made_;  // by page
};

}  // namespace qinghe::ui
