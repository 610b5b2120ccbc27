#pragma once
#include <QString>

#include <optional>

class QWidget;

namespace livros::app {

// The form the user asks for on "Balanços e relações": its keyword (BSPO, BMPO, RMNRA, RMNRB2) and
// its period as typed ("T/AAAA" or "AAAA" for the balances, "MM/AAAA" for the relations).
struct FormChoice {
    QString form;
    QString period;
};

// Asks which form and which period, modally; nullopt when cancelled.
std::optional<FormChoice> askFormChoice(QWidget* parent);

} // namespace livros::app
