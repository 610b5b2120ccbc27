#pragma once
#include <QString>

#include <functional>
#include <memory>

namespace livros::data {
class TDM;
}

namespace livros::cli {

struct CliOptions;

// `siproquim-map --check FILE`: reads a map back and prints "ok" with the count of each record,
// or every problem with its line and column (exit 0 or 3).
// `siproquim-map --month MM/YYYY [--cnpj X] [--out DIR]`: writes the store's map of the month into
// DIR (default the current folder) and prints its path; data that cannot go into the map is
// listed on standard error and nothing is written (exit 3).
// The data module is created only for writing.
int runSiproquimMapCommand(const CliOptions& options, const std::function<std::unique_ptr<data::TDM>()>& createDataModule);

} // namespace livros::cli
