#include "app/run_mode.h"

namespace livros::app {

RunMode runModeFromKeyword(const QString& firstArgument)
{
    struct Keyword {
        const char* text;
        RunMode mode;
    };
    static const Keyword kKeywords[] = {
        {"DROGARIA", RunMode::Drogaria},
        {"INSUMOSCOMPLETO", RunMode::InsumosCompleto},
        {"SIPROQUIM", RunMode::Siproquim},
        {"DROGARIAVIEW", RunMode::DrogariaView},
        {"INSUMOSCOMPLETOVIEW", RunMode::InsumosCompletoView},
        {"SIPROQUIMVIEW", RunMode::SiproquimView},
    };
    for (const Keyword& k : kKeywords) {
        if (firstArgument == QLatin1String(k.text))
            return k.mode;
    }
    return RunMode::Classic;
}

RunMode runModeFromArguments(const QStringList& arguments)
{
    return arguments.size() > 1 ? runModeFromKeyword(arguments.at(1)) : RunMode::Classic;
}

bool isRevisedMode(RunMode mode)
{
    return mode == RunMode::Drogaria || mode == RunMode::InsumosCompleto || mode == RunMode::Siproquim;
}

bool isViewOnlyMode(RunMode mode)
{
    return mode == RunMode::DrogariaView || mode == RunMode::InsumosCompletoView || mode == RunMode::SiproquimView;
}

} // namespace livros::app
