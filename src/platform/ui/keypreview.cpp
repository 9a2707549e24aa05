#include "platform/ui/keypreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace platform {

KeyPreview::KeyPreview(QWidget* window, Handler handler)
    : QObject(window)
    , window_(window)
    , handler_(std::move(handler)) {
    qApp->installEventFilter(this);
}

bool KeyPreview::plain(const QKeyEvent* event) {
    return !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
}

bool KeyPreview::isEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    // Only keys meant for this window's own controls, not for a dialog above it.
    if (widget != window_ && !window_->isAncestorOf(widget))
        return false;
    if (QWidget* modal = QApplication::activeModalWidget();
        modal && modal != window_ && !modal->isAncestorOf(window_))
        return false;
    // An unused key climbs to the parent controls and passes here again; a
    // handler that used it stopped it, so a key acts once.
    return handler_(static_cast<QKeyEvent*>(event));
}

namespace {
class EnterAsTab : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (!KeyPreview::isEnter(key))
            return false;
        // Enter becomes a Tab: Qt walks the tab order from here. The Tab goes
        // to the parent, since a date edit takes its own Tab to move from the
        // day to the month and the year.
        auto* widget = static_cast<QWidget*>(watched);
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(widget->parentWidget() ? widget->parentWidget() : widget, &tab);
        return true;
    }
};
} // namespace

void enterMovesFocus(std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls)
        control->installEventFilter(new EnterAsTab(control));
}

} // namespace platform
