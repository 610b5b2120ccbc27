#include "app/program_info.h"

#include "platform/program_version.h"

#include <cstring>

namespace livros::app {

std::optional<std::string> programInfoText(int argc, const char* const* argv)
{
    if (argc < 2)
        return std::nullopt;
    if (std::strcmp(argv[1], "--version") == 0)
        return std::string("livros ") + kProgramVersion + "\n";
    if (std::strcmp(argv[1], "--help") == 0)
        return std::string(
            "Uso: livros [MODO]\n"
            "Abre o Livro de Registro Específico da pasta do programa (QUILMARA.INI).\n"
            "\n"
            "MODO (exato, com maiúsculas):\n"
            "  (nenhum)              livro clássico, por grupo de listas\n"
            "  DROGARIA              livro revisado de medicamentos da drogaria\n"
            "  INSUMOSCOMPLETO       livro revisado de insumos da manipulação\n"
            "  SIPROQUIM             relatório de produtos químicos controlados\n"
            "  DROGARIAVIEW, INSUMOSCOMPLETOVIEW, SIPROQUIMVIEW\n"
            "                        mostra o livro revisado já montado e fecha\n"
            "\n"
            "  --version             mostra a versão\n"
            "  --help                mostra este texto\n"
            "\n"
            "A pasta da suíte é QUILMARA_HOME (padrão /opt/quilmara). Veja livros(1) e livros-cli(1).\n");
    return std::nullopt;
}

} // namespace livros::app
