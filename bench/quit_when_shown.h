// Ends a start-up measurement: ends the process as soon as the window has
// been painted for the first time, so that the process's lifetime is its
// start-up until the window is on screen (no teardown is timed).
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

class QuitWhenShown final : public QObject {
  public:
    explicit QuitWhenShown(QWidget& window) : QObject(&window) { window.installEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !quitting_) {
            quitting_ = true;
            // After this paint, and the children's in the same pass, are done.
            QTimer::singleShot(0, [] {
                std::fflush(nullptr);
                std::_Exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool quitting_ = false;
};
