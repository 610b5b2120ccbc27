#pragma once

namespace livros::app {

// When the main window runs its activation handler. The window system's own activation events
// differ between platforms (and some platforms have none), so the window tells this rule how the
// focus came back and the rule alone decides:
// - the first time the window is shown: activation;
// - a non-modal window of the program (the report engine's status window) has gone and the
//   focus returns to the main window: activation;
// - a modal window closing (message boxes, the report preview, the standard error display) or a
//   return from another application: none;
// - nothing starts while an activation runs (the report run of a view-only mode lies inside the
//   first activation).
class ActivationRule {
public:
    enum class FocusReturn { FirstShow, OwnWindowGone, ModalWindowClosed, OtherApplication };

    // Whether the focus coming back this way starts an activation now. A first show counts once.
    bool activates(FocusReturn how);

    bool running() const { return m_running; }

    // Marks an activation as running for its lifetime.
    class Running {
    public:
        explicit Running(ActivationRule& rule) : m_rule(rule) { m_rule.m_running = true; }
        ~Running() { m_rule.m_running = false; }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;

    private:
        ActivationRule& m_rule;
    };

private:
    bool m_running = false;
    bool m_shown = false;
};

} // namespace livros::app
