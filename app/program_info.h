#pragma once
#include <optional>
#include <string>

namespace livros::app {

// `livros --version` and `livros --help`: the text to print instead of opening the window, decided
// before any window system is touched (so they work without a display). Any other first argument
// is a run mode. Empty when the window is to open.
std::optional<std::string> programInfoText(int argc, const char* const* argv);

} // namespace livros::app
