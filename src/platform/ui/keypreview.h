#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace platform {

// Lets a window see key presses before its controls. The handler returns
// true when it used the key, which then goes no further.
class KeyPreview : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<bool(QKeyEvent*)>;
    KeyPreview(QWidget* window, Handler handler);

    // A function key acts only when none of Shift, Ctrl and Alt is held.
    static bool plain(const QKeyEvent* event);
    static bool isEnter(const QKeyEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    Handler handler_;
};

// Enter in these controls is swallowed and moves the focus to the next
// control in tab order.
void enterMovesFocus(std::initializer_list<QWidget*> controls);

} // namespace platform
