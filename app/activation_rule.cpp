#include "app/activation_rule.h"

namespace livros::app {

bool ActivationRule::activates(FocusReturn how)
{
    if (m_running)
        return false;
    switch (how) {
    case FocusReturn::FirstShow:
        if (m_shown)
            return false;
        m_shown = true;
        return true;
    case FocusReturn::OwnWindowGone:
        return m_shown;
    case FocusReturn::ModalWindowClosed:
    case FocusReturn::OtherApplication:
        return false;
    }
    return false;
}

} // namespace livros::app
