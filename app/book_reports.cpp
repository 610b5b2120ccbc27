#include "app/book_reports.h"


namespace livros::app {

std::optional<revised::RevisedMode> revisedBookOf(RunMode mode)
{
    switch (mode) {
    case RunMode::Drogaria:
    case RunMode::DrogariaView:
        return revised::RevisedMode::Drogaria;
    case RunMode::InsumosCompleto:
    case RunMode::InsumosCompletoView:
        return revised::RevisedMode::InsumosCompleto;
    case RunMode::Siproquim:
    case RunMode::SiproquimView:
        return revised::RevisedMode::Siproquim;
    case RunMode::Classic:
        break;
    }
    return std::nullopt;
}

} // namespace livros::app
