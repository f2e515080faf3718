#pragma once
// The wait cursor over every window of the program while work that shows no
// progress window of its own runs (the art bank expanded from its page, a
// restore point put back, a carset undone from the library). Windows stay
// painted meanwhile, but clicks wait until the work is done; the cursor
// says so.

namespace pitwall::gui {

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// A message box or question shown during such work gets the ordinary arrow
// back while it waits for the user; the wait cursor returns after it.
class NormalCursorWhileAsking {
public:
    NormalCursorWhileAsking();
    ~NormalCursorWhileAsking();
    NormalCursorWhileAsking(const NormalCursorWhileAsking&) = delete;
    NormalCursorWhileAsking& operator=(const NormalCursorWhileAsking&) = delete;

private:
    bool pushed_ = false;
};

} // namespace pitwall::gui
