#pragma once

namespace pausewell {

// The routine and the reminder's pause run without blocking the event loop, but
// the reminder's tick and a second launch's request must still wait for them to
// end. While a phase runs, each such event is kept (at most one of each) and
// handed back when it ends.
class HeldEvents {
public:
    enum Event { Tick = 1, Activation = 2 };

    bool holding() const { return m_holding; }
    void begin() { m_holding = true; }

    // True when the event was kept for later; false: act on it now.
    bool hold(Event event) {
        if (!m_holding)
            return false;
        m_pending |= event;
        return true;
    }

    // Ends the phase; returns the kept events (a mask of Event).
    int end() {
        m_holding = false;
        const int pending = m_pending;
        m_pending = 0;
        return pending;
    }

private:
    bool m_holding = false;
    int m_pending = 0;
};

} // namespace pausewell
