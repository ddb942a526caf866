// The registry from gadget number to gadget record (internal to the services
// layer). Each kind of gadget derives from Gadget and supplies the operations
// it has; the others give 0.
#pragma once

#include <QMetaObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

class QWidget;

class Gadget {
  public:
    // Takes ownership of the native control `widget`, which lives in window `window`.
    Gadget(int number, int window, QWidget* widget);
    virtual ~Gadget();

    Gadget(const Gadget&) = delete;
    Gadget& operator=(const Gadget&) = delete;

    int number() const { return number_; }
    int window() const { return window_; }

    // The outer native control; null once it has been destroyed with its window.
    QWidget* widget() const { return widget_; }

    // The control that receives the pointer and drops; for a canvas its drawable area.
    virtual QWidget* inputWidget() const { return widget_; }

    virtual int state() const { return 0; }
    virtual std::int32_t attribute(int /*attribute*/) const { return 0; }

    // Called when the native control was destroyed by someone else (its window).
    void forgetWidget() { widget_ = nullptr; }
    void setDestroyedConnection(QMetaObject::Connection connection) {
        destroyedConnection_ = std::move(connection);
    }

  private:
    int number_;
    int window_;
    QWidget* widget_;
    QMetaObject::Connection destroyedConnection_;
};

// Registers a gadget under its number. A gadget already registered under that
// number is removed first, as removeGadget() does.
void registerGadget(std::unique_ptr<Gadget> gadget);

// Null if the number is not in use.
Gadget* findGadget(int number);

template <class Kind>
Kind* findGadgetOf(int number) {
    return dynamic_cast<Kind*>(findGadget(number));
}

void forEachGadget(const std::function<void(Gadget&)>& visit);

// Destroys the gadget's control and record and drops its queued events.
void removeGadget(int number);
