#pragma once
// A window built on first use. The holder behaves like a pointer to the
// window: the first dereference asks the factory for it, later ones return
// the same window for as long as it lives. Without a factory (or once the
// window's owner has cleared it) the holder gives nullptr.

#include <QPointer>
#include <functional>
#include <utility>

namespace pitwall::gui {

template <class Window>
class LazyWindow {
public:
    void setFactory(std::function<Window*()> make) { make_ = std::move(make); }
    // No further windows are made (the owner of the factory is going away).
    void clearFactory() { make_ = nullptr; }

    Window* get()
    {
        if (!window_ && make_)
            window_ = make_();
        return window_.data();
    }
    // The window when it has been built already, else nullptr (builds nothing).
    Window* created() const { return window_.data(); }

    Window* operator->() { return get(); }
    Window& operator*() { return *get(); }
    operator Window*() { return get(); }

private:
    std::function<Window*()> make_;
    QPointer<Window> window_;
};

} // namespace pitwall::gui
