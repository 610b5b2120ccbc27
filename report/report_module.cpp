#include "report/report_module.h"

namespace livros::report {

TRM* RM = nullptr;

TRM::TRM(data::TDM& dm) : connections(dm)
{
    rvpjRelLivros.Engine = &rvstm1;
    rvpjRelLivros.Connections = &connections.set;
    rvpjRelLivrosRev.Engine = &rvstm1;
    rvpjRelLivrosRev.Connections = &connections.set;
}

} // namespace livros::report
