// Ends a start-up measurement: the process ends as soon as the first window
// that `isTarget` picks has been painted, its children in the same pass
// included, so that the process's lifetime is its start-up until that window
// is on screen (no teardown is timed).
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>

class QuitAtFirstPaint final : public QObject {
  public:
    // Called with the window of every widget that paints.
    using IsTarget = std::function<bool(const QWidget& window)>;

    explicit QuitAtFirstPaint(IsTarget isTarget) : isTarget_(std::move(isTarget)) {
        QCoreApplication::instance()->installEventFilter(this);
    }

    // Runs once the target's first paint pass is over, instead of ending.
    void setAtPaint(std::function<void()> then) { then_ = std::move(then); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_ && watched->isWidgetType() &&
            isTarget_(*static_cast<QWidget*>(watched)->window())) {
            painted_ = true;
            QTimer::singleShot(0, [this] {
                if (then_) return then_();
                std::fflush(nullptr);
                std::_Exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    IsTarget isTarget_;
    std::function<void()> then_;
    bool painted_ = false;
};
