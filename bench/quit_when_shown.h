// Ends a start-up measurement: quits the application's event loop as soon as
// the window has been painted for the first time, so that the process's
// lifetime is its start-up until the window is on screen.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

class QuitWhenShown final : public QObject {
  public:
    explicit QuitWhenShown(QWidget& window) : QObject(&window) { window.installEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !quitting_) {
            quitting_ = true;
            // After this paint, and the children's in the same pass, are done.
            QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool quitting_ = false;
};
